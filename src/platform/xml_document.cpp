#include "platform/xml_document.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlversion.h>

#include <algorithm>
#include <climits>
#include <exception>

#include "codec/cp1251.h"
#include "codec/errors.h"
#include "platform/xml_windows1251.h"

namespace morvek {

namespace {

// The parser's global state is set up at start-up, before any thread parses: a first parse in
// several threads at once would set it up twice. The journals' own code page is decoded by table.
[[maybe_unused]] const bool kParserReady = (xmlInitParser(), RegisterWindows1251Decoding(), true);

std::string_view View(const xmlChar* text) {
  return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

// What the parse found besides the tree: set by the callbacks below through ctxt->_private.
struct ParseState {
  bool doctypeRefused = false;
  std::string firstError;  // the first fatal error: later ones are often only its echoes
  int depth = 0, maxDepth = 0;
  // When reading a child of the root at a time: where the root and its children go, and what
  // the first of those calls raised.
  const std::function<void(const XmlNode&)>* root = nullptr;
  const std::function<void(const XmlNode&)>* child = nullptr;
  std::exception_ptr failure;
};

ParseState& StateOf(void* context) {
  return *static_cast<ParseState*>(static_cast<xmlParserCtxtPtr>(context)->_private);
}

// The register never sends a document type; refusing it keeps entity definitions (and with them
// entity expansion and external loads) out of the parser altogether.
void RefuseSubset(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
  StateOf(context).doctypeRefused = true;
  xmlStopParser(static_cast<xmlParserCtxtPtr>(context));
}

#if LIBXML_VERSION >= 21200
using ErrorArgument = const xmlError*;
#else
using ErrorArgument = xmlError*;
#endif

void NoteError(void* context, ErrorArgument error) {
  ParseState& state = StateOf(context);
  if (error && error->level == XML_ERR_FATAL && state.firstError.empty() && error->message) {
    std::string message = error->message;
    message.resize(std::min(message.find('\n'), message.size()));
    state.firstError = "line " + std::to_string(error->line) + ": " + message;
  }
}

// libxml2 reports encoding failures through its generic handler, past XML_PARSE_NOERROR; the
// failure reaches the caller as an XmlError anyway. The handler's type is libxml2's.
void Silent(void*, const char*, ...) {}  // NOLINT(cert-dcl50-cpp)

// Element nesting allowed in a journal; libxml2 itself stops only one level deeper.
constexpr int kMaxDepth = 256;

// No network, no entity substitution, no DTD loading; short texts stored in their nodes.
constexpr int kOptions =
    XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_COMPACT;

// Runs a call into the caller's code, keeping what it raises until the parser has stopped: no
// exception may pass through libxml2.
template <class Call>
void Hand(xmlParserCtxtPtr ctxt, ParseState& state, Call call) {
  if (state.failure) return;
  try {
    call();
  } catch (...) {
    state.failure = std::current_exception();
    xmlStopParser(ctxt);
  }
}

// Hands on the root's finished children and frees them. Called between elements, where every
// child there is whole: a text node is ended by the element that follows it.
void HandChildren(xmlParserCtxtPtr ctxt, ParseState& state) {
  xmlNodePtr root = xmlDocGetRootElement(ctxt->myDoc);
  while (xmlNodePtr node = root ? root->children : nullptr) {
    Hand(ctxt, state, [&] { (*state.child)(XmlNode(node)); });
    xmlUnlinkNode(node);
    xmlFreeNode(node);
  }
}

// The nesting is counted on the way; with a tree, the tree builder's own handlers run too.
void EnterElement(void* context, const xmlChar* name, const xmlChar* prefix, const xmlChar* uri,
                  int namespaces, const xmlChar** spaces, int attributes, int defaulted,
                  const xmlChar** values) {
  const auto ctxt = static_cast<xmlParserCtxtPtr>(context);
  ParseState& state = StateOf(context);
  state.maxDepth = std::max(state.maxDepth, ++state.depth);
  if (!ctxt->myDoc) return;
  if (state.child && state.depth == 2) HandChildren(ctxt, state);
  xmlSAX2StartElementNs(context, name, prefix, uri, namespaces, spaces, attributes, defaulted,
                        values);
  if (state.root && state.depth == 1)
    Hand(ctxt, state, [&] { (*state.root)(XmlNode(ctxt->node)); });
}

void LeaveElement(void* context, const xmlChar* name, const xmlChar* prefix, const xmlChar* uri) {
  const auto ctxt = static_cast<xmlParserCtxtPtr>(context);
  ParseState& state = StateOf(context);
  --state.depth;
  if (!ctxt->myDoc) return;
  xmlSAX2EndElementNs(context, name, prefix, uri);
  if (state.child && state.depth <= 1) HandChildren(ctxt, state);
}

void NoDocument(void*) {}

enum class Build { kNothing, kTree, kChildByChild };

// The text handed to libxml2 a block at a time, as a file would be: from memory it copies the
// whole text and decodes a Windows-1251 one whole in one go, three times a journal's size held.
XmlInput InputOf(std::string_view text) {
  auto rest = std::make_shared<std::string_view>(text);
  XmlInput input;
  input.read = [rest](char* buffer, std::size_t size) {
    const std::size_t n = std::min(rest->size(), size);
    std::copy_n(rest->data(), n, buffer);
    rest->remove_prefix(n);
    return n;
  };
  input.rewind = [rest, text] { *rest = text; };
  input.size = text.size();
  return input;
}

int ReadSource(void* context, char* buffer, int length) {
  const XmlInput& input = *static_cast<const XmlInput*>(context);
  return static_cast<int>(input.read(buffer, static_cast<std::size_t>(std::max(length, 0))));
}

int CloseSource(void*) {
  return 0;
}

// Parses text with the program's options and refusals; the tree when asked for, and the reason
// the text was refused, empty when it was not. Child by child, root and child get the nodes as
// they are finished, and whatever they raise is raised here.
std::pair<xmlDocPtr, std::string> RunParser(
    const XmlInput& input, Build build, const std::function<void(const XmlNode&)>* root = nullptr,
    const std::function<void(const XmlNode&)>* child = nullptr) {
  if (input.size > INT_MAX) return {nullptr, "XML document too large"};
  input.rewind();
  // The handler is the calling thread's: each thread that parses silences its own once.
  thread_local const bool silenced = (xmlSetGenericErrorFunc(nullptr, Silent), true);
  (void)silenced;
  xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
  if (!ctxt) return {nullptr, "out of memory"};
  ParseState state;
  state.root = root;
  state.child = child;
  ctxt->_private = &state;
  xmlSAXHandler& sax = *ctxt->sax;
  sax.internalSubset = RefuseSubset;
  sax.externalSubset = RefuseSubset;
  sax.serror = NoteError;
  sax.startElementNs = EnterElement;
  sax.endElementNs = LeaveElement;
  if (build == Build::kNothing) {
    sax.startDocument = NoDocument;
    sax.characters = sax.ignorableWhitespace = sax.cdataBlock = nullptr;
    sax.comment = nullptr;
    sax.processingInstruction = nullptr;
    sax.reference = nullptr;
  }
  xmlDocPtr doc = xmlCtxtReadIO(ctxt, ReadSource, CloseSource, const_cast<XmlInput*>(&input),
                                nullptr, nullptr, kOptions);
  std::string message;
  if (state.failure) {
    message = "stopped";
  } else if (state.doctypeRefused) {
    message = "a document type declaration is not allowed";
  } else if ((build != Build::kNothing && !doc) || !ctxt->wellFormed) {
    message = state.firstError;
    if (message.empty()) {
      const xmlError* error = xmlCtxtGetLastError(ctxt);
      message = error && error->message ? error->message : "malformed document";
      message.resize(std::min(message.find('\n'), message.size()));
      if (error) message = "line " + std::to_string(error->line) + ": " + message;
    }
  } else if (state.maxDepth > kMaxDepth) {
    message = "elements nested deeper than " + std::to_string(kMaxDepth) + " levels";
  }
  xmlFreeParserCtxt(ctxt);
  if ((!message.empty() || build != Build::kTree) && doc) {
    xmlFreeDoc(doc);
    doc = nullptr;
  }
  if (state.failure) std::rethrow_exception(state.failure);
  return {doc, message.empty() ? message : "XML parse error, " + message};
}

// A name as written in the document, with its namespace prefix.
std::string QualifiedName(const xmlNs* ns, const xmlChar* name) {
  if (ns && ns->prefix)
    return Utf8ToCp1251(std::string(View(ns->prefix)) + ":" + std::string(View(name)));
  return Utf8ToCp1251(View(name));
}

}  // namespace

std::string XmlValue::Text() const {
  return Utf8ToCp1251Strict(Utf8());
}

std::string XmlAttribute::Name() const {
  return QualifiedName(attr_->ns, attr_->name);
}

XmlValue XmlAttribute::Value() const {
  const xmlNode* child = attr_->children;
  if (child && !child->next && child->type == XML_TEXT_NODE)  // the usual case: no copy by libxml2
    return XmlValue::Borrow(View(child->content));
  xmlChar* text = xmlNodeListGetString(attr_->doc, attr_->children, 1);
  XmlValue value{std::string(View(text))};
  xmlFree(text);
  return value;
}

XmlAttribute XmlAttribute::Next() const {
  return XmlAttribute(attr_->next);
}

std::string XmlNode::Name() const {
  switch (node_->type) {
    case XML_TEXT_NODE: return "#text";
    case XML_COMMENT_NODE: return "#comment";
    case XML_CDATA_SECTION_NODE: return "#cdata-section";
    case XML_ELEMENT_NODE: return QualifiedName(node_->ns, node_->name);
    default: return Utf8ToCp1251(View(node_->name));
  }
}

bool XmlNode::IsTextElement() const {
  const xmlNode* child = node_->children;
  return node_->type == XML_ELEMENT_NODE && child && !child->next &&
         (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE);
}

XmlValue XmlNode::Text() const {
  const xmlNode* source = node_->type == XML_ELEMENT_NODE ? node_->children : node_;
  return XmlValue::Borrow(View(source ? source->content : nullptr));
}

XmlAttribute XmlNode::FirstAttribute() const {
  return XmlAttribute(node_->type == XML_ELEMENT_NODE ? node_->properties : nullptr);
}

bool XmlNode::HasChildNodes() const {
  return node_->children != nullptr;
}

XmlNode XmlNode::FirstChild() const {
  return XmlNode(node_->children);
}

XmlNode XmlNode::Next() const {
  return XmlNode(node_->next);
}

void XmlDocument::Free::operator()(_xmlDoc* doc) const {
  xmlFreeDoc(doc);
}

XmlDocument XmlDocument::Parse(std::string_view text) {
  auto [doc, message] = RunParser(InputOf(text), Build::kTree);
  if (!message.empty()) throw XmlError(message);
  XmlDocument result;
  result.doc_.reset(doc);
  return result;
}

XmlNode XmlDocument::DocumentElement() const {
  return XmlNode(xmlDocGetRootElement(doc_.get()));
}

void ReadXmlStream(std::string_view text, const std::function<void(const XmlNode&)>& root,
                   const std::function<void(const XmlNode&)>& child) {
  ReadXmlStream(InputOf(text), root, child);
}

void ReadXmlStream(const XmlInput& input, const std::function<void(const XmlNode&)>& root,
                   const std::function<void(const XmlNode&)>& child) {
  if (const std::string message = RunParser(input, Build::kNothing).second; !message.empty())
    throw XmlError(message);
  // The text passed the same parser: only running out of memory can refuse it now.
  if (const std::string message = RunParser(input, Build::kChildByChild, &root, &child).second;
      !message.empty())
    throw XmlError(message);
}

void ReadXmlChildren(std::string_view text, const std::function<void(const XmlNode&)>& root,
                     const std::function<void(const XmlNode&)>& child) {
  if (const std::string message =
          RunParser(InputOf(text), Build::kChildByChild, &root, &child).second;
      !message.empty())
    throw XmlError(message);
}

void ReadXmlChildrenOrUndo(std::string_view text, const std::function<void(const XmlNode&)>& root,
                           const std::function<void(const XmlNode&)>& child,
                           const std::function<void()>& undo) {
  ReadXmlChildrenOrUndo(InputOf(text), root, child, undo);
}

void ReadXmlChildrenOrUndo(const XmlInput& input, const std::function<void(const XmlNode&)>& root,
                           const std::function<void(const XmlNode&)>& child,
                           const std::function<void()>& undo) {
  std::string message;
  try {
    message = RunParser(input, Build::kChildByChild, &root, &child).second;
  } catch (...) {
    // What the calls stored stands only if the whole text is well-formed.
    if (std::string check = RunParser(input, Build::kNothing).second; !check.empty()) {
      undo();
      throw XmlError(check);
    }
    throw;
  }
  if (message.empty()) return;
  undo();
  // The reason as the check of the whole text gives it, so that it reads as ReadXmlStream's.
  if (std::string check = RunParser(input, Build::kNothing).second; !check.empty()) message = check;
  throw XmlError(message);
}

}  // namespace morvek
