#pragma once
// The journal's XML as the loader walks it: strict XML 1.0, parsed by libxml2 with no network, no
// DTD (a document type declaration is refused), no entity expansion, and at most 256 levels of
// elements so that a walk of the tree may recurse. Nodes are seen the way the loader expects
// them: text nodes named "#text", comments "#comment", CDATA "#cdata-section", processing
// instructions by their target, white space kept. Names keep their namespace prefix; names and
// texts come out as Windows-1251 bytes.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

struct _xmlDoc;
struct _xmlNode;
struct _xmlAttr;

namespace morvek {

// An attribute value or element text as the parser gave it (UTF-8), converted on demand. It
// usually points into the parsed tree, and is good while the tree lives.
class XmlValue {
 public:
  explicit XmlValue(std::string utf8) : owned_(std::move(utf8)), owns_(true) {}
  // A value that points at text someone else keeps.
  static XmlValue Borrow(std::string_view utf8) {
    XmlValue value;
    value.view_ = utf8;
    return value;
  }
  // Windows-1251 text; malformed UTF-8 raises ConvertError.
  std::string Text() const;
  std::string_view Utf8() const { return owns_ ? std::string_view(owned_) : view_; }

 private:
  XmlValue() = default;

  std::string owned_;
  std::string_view view_;
  bool owns_ = false;
};

class XmlAttribute {
 public:
  explicit XmlAttribute(_xmlAttr* attr = nullptr) : attr_(attr) {}
  explicit operator bool() const { return attr_ != nullptr; }
  std::string Name() const;
  XmlValue Value() const;
  XmlAttribute Next() const;

 private:
  _xmlAttr* attr_;
};

// A handle into a parsed document; valid while the document lives.
class XmlNode {
 public:
  explicit XmlNode(_xmlNode* node = nullptr) : node_(node) {}
  explicit operator bool() const { return node_ != nullptr; }
  std::string Name() const;
  // An element whose only child is text or CDATA.
  bool IsTextElement() const;
  // The text of a text element (or of a text node).
  XmlValue Text() const;
  XmlAttribute FirstAttribute() const;
  bool HasChildNodes() const;
  XmlNode FirstChild() const;
  XmlNode Next() const;

 private:
  _xmlNode* node_;
};

class XmlDocument {
 public:
  // Raises XmlError for text that is not well-formed or that the parser refuses.
  static XmlDocument Parse(std::string_view text);
  XmlNode DocumentElement() const;

 private:
  struct Free {
    void operator()(_xmlDoc* doc) const;
  };
  std::unique_ptr<_xmlDoc, Free> doc_;
};

// A text the parser reads a block at a time instead of from memory (a journal file): read puts up
// to size bytes into buffer and gives their count, 0 at the end (or after a failure, which the
// owner keeps: nothing may be raised through the parser); rewind starts it again at its first
// byte; size is its length in bytes.
struct XmlInput {
  std::function<std::size_t(char* buffer, std::size_t size)> read;
  std::function<void()> rewind;
  std::uint64_t size = 0;
};

// Reads text as XmlDocument::Parse does, but holds only one child of the root element as a tree
// at a time: a journal of 100,000 documents takes some twenty times its size as one tree. The
// whole text is checked first, so that a text that is not well-formed hands on nothing, as a tree
// parse would. root gets the root element for its attributes (its children may not all be there
// yet), then child gets each of the root's children in order, whole with its subtree, valid
// during the call only; only the node itself may be walked, not its siblings.
void ReadXmlStream(std::string_view text, const std::function<void(const XmlNode&)>& root,
                   const std::function<void(const XmlNode&)>& child);

// As ReadXmlStream in one pass, without checking the whole text first: children are handed on as
// they are read, so a caller must throw away what it was handed when this raises.
void ReadXmlChildren(std::string_view text, const std::function<void(const XmlNode&)>& root,
                     const std::function<void(const XmlNode&)>& child);

// ReadXmlStream in one pass, for a caller that can take back what it was handed: when the text
// turns out not to be well-formed, undo is called and XmlError raised with ReadXmlStream's
// reason. When root or child raises, the rest of the text is checked the same way before what
// they raised is passed on.
void ReadXmlChildrenOrUndo(std::string_view text, const std::function<void(const XmlNode&)>& root,
                           const std::function<void(const XmlNode&)>& child,
                           const std::function<void()>& undo);
// The same two for a text read a block at a time.
void ReadXmlStream(const XmlInput& input, const std::function<void(const XmlNode&)>& root,
                   const std::function<void(const XmlNode&)>& child);
void ReadXmlChildrenOrUndo(const XmlInput& input, const std::function<void(const XmlNode&)>& root,
                           const std::function<void(const XmlNode&)>& child,
                           const std::function<void()>& undo);

}  // namespace morvek
