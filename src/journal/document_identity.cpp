#include "journal/document_identity.h"

#include <charconv>

#include "codec/errors.h"
#include "platform/xml_document.h"

namespace morvek {

namespace {

// The value of a node's attribute, or nothing.
std::optional<std::string> Attribute(const XmlNode& node, std::string_view name) {
  for (XmlAttribute a = node.FirstAttribute(); a; a = a.Next())
    if (a.Name() == name) return std::string(a.Value().Utf8());
  return std::nullopt;
}

std::optional<int> Integer(const std::optional<std::string>& text) {
  int value = 0;
  if (!text) return std::nullopt;
  const char* end = text->data() + text->size();
  const auto [at, error] = std::from_chars(text->data(), end, value);
  if (error != std::errc() || at != end) return std::nullopt;
  return value;
}

// The first element named name among the children of node.
XmlNode Child(const XmlNode& node, std::string_view name) {
  for (XmlNode child = node.FirstChild(); child; child = child.Next())
    if (child.Name() == name) return child;
  return XmlNode();
}

}  // namespace

DocumentIdentity IdentifyDocument(std::string_view text) {
  std::string wrapped = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<RQ V=\"1\">\r\n";
  wrapped += text;
  wrapped += "\r\n</RQ>\r\n";
  DocumentIdentity identity;
  XmlDocument document;
  try {
    document = XmlDocument::Parse(wrapped);
  } catch (const XmlError&) {
    return identity;
  }
  identity.wellFormed = true;
  const XmlNode dat = Child(document.DocumentElement(), "DAT");
  if (!dat) return identity;
  identity.di = Attribute(dat, "DI").value_or("");
  // A Z-report carries its number on Z, a receipt on the end record E of its C.
  if (const XmlNode z = Child(dat, "Z")) {
    identity.number = Integer(Attribute(z, "NO"));
  } else if (const XmlNode c = Child(dat, "C")) {
    if (const XmlNode e = Child(c, "E")) identity.number = Integer(Attribute(e, "NO"));
  }
  return identity;
}

}  // namespace morvek
