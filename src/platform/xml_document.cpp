#include "platform/xml_document.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
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

bool TooDeep(const xmlNode* root) {
  int depth = 1;
  for (const xmlNode* node = root; node;) {
    if (node->type == XML_ELEMENT_NODE && depth > kMaxDepth) return true;
    if (node->children && node->type == XML_ELEMENT_NODE) {
      node = node->children;
      ++depth;
      continue;
    }
    while (node && node != root && !node->next) {
      node = node->parent;
      --depth;
    }
    if (!node || node == root) break;
    node = node->next;
  }
  return false;
}

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
  if (text.size() > INT_MAX) throw XmlError("XML document too large");
  static const bool silenced = (xmlSetGenericErrorFunc(nullptr, Silent), true);
  (void)silenced;
  xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
  if (!ctxt) throw XmlError("out of memory");
  ParseState state;
  ctxt->_private = &state;
  ctxt->sax->internalSubset = RefuseSubset;
  ctxt->sax->externalSubset = RefuseSubset;
  ctxt->sax->serror = NoteError;
  // No network, no entity substitution, no DTD loading; short texts stored in their nodes.
  const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_COMPACT;
  xmlDocPtr doc = xmlCtxtReadMemory(ctxt, text.data(), static_cast<int>(text.size()), nullptr,
                                    nullptr, options);
  std::string message;
  if (state.doctypeRefused) {
    message = "a document type declaration is not allowed";
  } else if (!doc || !ctxt->wellFormed) {
    message = state.firstError;
    if (message.empty()) {
      const xmlError* error = xmlCtxtGetLastError(ctxt);
      message = error && error->message ? error->message : "malformed document";
      message.resize(std::min(message.find('\n'), message.size()));
      if (error) message = "line " + std::to_string(error->line) + ": " + message;
    }
  } else if (TooDeep(xmlDocGetRootElement(doc))) {
    message = "elements nested deeper than " + std::to_string(kMaxDepth) + " levels";
  }
  xmlFreeParserCtxt(ctxt);
  if (!message.empty()) {
    if (doc) xmlFreeDoc(doc);
    throw XmlError("XML parse error, " + message);
  }
  XmlDocument result;
  result.doc_.reset(doc);
  return result;
}

XmlNode XmlDocument::DocumentElement() const {
  return XmlNode(xmlDocGetRootElement(doc_.get()));
}

}  // namespace morvek
