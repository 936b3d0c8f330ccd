#include "platform/xml_document.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlreader.h>
#include <libxml/xmlversion.h>

#include <algorithm>
#include <climits>

#include "platform/cp1251.h"
#include "platform/errors.h"

namespace morvek {

namespace {

std::string_view View(const xmlChar* text) {
  return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

// What the parse found besides the tree: set by the callbacks below through ctxt->_private.
struct ParseState {
  bool doctypeRefused = false;
  std::string firstError;  // the first fatal error: later ones are often only its echoes
  int depth = 0, maxDepth = 0;
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

// The nesting is counted on the way; with a tree, the tree builder's own handlers run too.
void EnterElement(void* context, const xmlChar* name, const xmlChar* prefix, const xmlChar* uri,
                  int namespaces, const xmlChar** spaces, int attributes, int defaulted,
                  const xmlChar** values) {
  ParseState& state = StateOf(context);
  state.maxDepth = std::max(state.maxDepth, ++state.depth);
  if (static_cast<xmlParserCtxtPtr>(context)->myDoc)
    xmlSAX2StartElementNs(context, name, prefix, uri, namespaces, spaces, attributes, defaulted,
                          values);
}

void LeaveElement(void* context, const xmlChar* name, const xmlChar* prefix, const xmlChar* uri) {
  --StateOf(context).depth;
  if (static_cast<xmlParserCtxtPtr>(context)->myDoc)
    xmlSAX2EndElementNs(context, name, prefix, uri);
}

void NoDocument(void*) {}

// Parses text with the program's options and refusals; the tree when asked for, and the reason
// the text was refused, empty when it was not.
std::pair<xmlDocPtr, std::string> RunParser(std::string_view text, bool tree) {
  if (text.size() > INT_MAX) return {nullptr, "XML document too large"};
  static const bool silenced = (xmlSetGenericErrorFunc(nullptr, Silent), true);
  (void)silenced;
  xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
  if (!ctxt) return {nullptr, "out of memory"};
  ParseState state;
  ctxt->_private = &state;
  xmlSAXHandler& sax = *ctxt->sax;
  sax.internalSubset = RefuseSubset;
  sax.externalSubset = RefuseSubset;
  sax.serror = NoteError;
  sax.startElementNs = EnterElement;
  sax.endElementNs = LeaveElement;
  if (!tree) {
    sax.startDocument = NoDocument;
    sax.characters = sax.ignorableWhitespace = sax.cdataBlock = nullptr;
    sax.comment = nullptr;
    sax.processingInstruction = nullptr;
    sax.reference = nullptr;
  }
  xmlDocPtr doc = xmlCtxtReadMemory(ctxt, text.data(), static_cast<int>(text.size()), nullptr,
                                    nullptr, kOptions);
  std::string message;
  if (state.doctypeRefused) {
    message = "a document type declaration is not allowed";
  } else if ((tree && !doc) || !ctxt->wellFormed) {
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
  if (!message.empty() && doc) {
    xmlFreeDoc(doc);
    doc = nullptr;
  }
  return {doc, message.empty() ? message : "XML parse error, " + message};
}

void Silence(void*, ErrorArgument) {}

// A name as written in the document, with its namespace prefix.
std::string QualifiedName(const xmlNs* ns, const xmlChar* name) {
  if (ns && ns->prefix)
    return Utf8ToCp1251(std::string(View(ns->prefix)) + ":" + std::string(View(name)));
  return Utf8ToCp1251(View(name));
}

}  // namespace

std::string XmlValue::Text() const {
  return Utf8ToCp1251Strict(utf8_);
}

std::string XmlAttribute::Name() const {
  return QualifiedName(attr_->ns, attr_->name);
}

XmlValue XmlAttribute::Value() const {
  const xmlNode* child = attr_->children;
  if (child && !child->next && child->type == XML_TEXT_NODE)  // the usual case: no copy by libxml2
    return XmlValue(std::string(View(child->content)));
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
  return XmlValue(std::string(View(source ? source->content : nullptr)));
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
  auto [doc, message] = RunParser(text, true);
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
  if (const std::string message = RunParser(text, false).second; !message.empty())
    throw XmlError(message);
  const std::unique_ptr<xmlTextReader, void (*)(xmlTextReaderPtr)> reader(
      xmlReaderForMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr, kOptions),
      xmlFreeTextReader);
  if (!reader) throw XmlError("out of memory");
  xmlTextReaderSetStructuredErrorHandler(reader.get(), Silence, nullptr);
  int more = xmlTextReaderRead(reader.get());
  while (more == 1) {
    if (xmlTextReaderDepth(reader.get()) != 1) {
      if (xmlTextReaderDepth(reader.get()) == 0 &&
          xmlTextReaderNodeType(reader.get()) == XML_READER_TYPE_ELEMENT)
        root(XmlNode(xmlTextReaderCurrentNode(reader.get())));
      more = xmlTextReaderRead(reader.get());
      continue;
    }
    xmlNodePtr node = xmlTextReaderExpand(reader.get());
    if (!node) break;
    child(XmlNode(node));
    // On past the subtree: the reader frees the nodes it leaves behind.
    more = xmlTextReaderNext(reader.get());
  }
  // The text passed the check: only running out of memory ends the reading early.
  if (more != 0) throw XmlError("XML parse error, the reader stopped early");
}

}  // namespace morvek
