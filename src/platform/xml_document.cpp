#include "platform/xml_document.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>

#include "platform/cp1251.h"
#include "platform/errors.h"

namespace morvek {

namespace {

std::string_view View(const xmlChar* text) {
  return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

// The register never sends a document type; refusing it keeps entity definitions (and with them
// entity expansion and external loads) out of the parser altogether.
void RefuseSubset(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
  auto* ctxt = static_cast<xmlParserCtxtPtr>(context);
  ctxt->_private = ctxt;  // marks the refusal for Parse
  xmlStopParser(ctxt);
}

}  // namespace

std::string XmlValue::Text() const { return Utf8ToCp1251Strict(utf8_); }

std::string XmlAttribute::Name() const { return Utf8ToCp1251(View(attr_->name)); }

XmlValue XmlAttribute::Value() const {
  const xmlNode* child = attr_->children;
  if (child && !child->next && child->type == XML_TEXT_NODE)  // the usual case: no copy by libxml2
    return XmlValue(std::string(View(child->content)));
  xmlChar* text = xmlNodeListGetString(attr_->doc, attr_->children, 1);
  XmlValue value{std::string(View(text))};
  xmlFree(text);
  return value;
}

XmlAttribute XmlAttribute::Next() const { return XmlAttribute(attr_->next); }

std::string XmlNode::Name() const {
  switch (node_->type) {
    case XML_TEXT_NODE:
      return "#text";
    case XML_COMMENT_NODE:
      return "#comment";
    case XML_CDATA_SECTION_NODE:
      return "#cdata-section";
    default:
      return Utf8ToCp1251(View(node_->name));
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

bool XmlNode::HasChildNodes() const { return node_->children != nullptr; }

XmlNode XmlNode::FirstChild() const { return XmlNode(node_->children); }

XmlNode XmlNode::Next() const { return XmlNode(node_->next); }

void XmlDocument::Free::operator()(_xmlDoc* doc) const { xmlFreeDoc(doc); }

XmlDocument XmlDocument::Parse(std::string_view text) {
  if (text.size() > INT_MAX) throw XmlError("XML document too large");
  xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
  if (!ctxt) throw XmlError("out of memory");
  ctxt->sax->internalSubset = RefuseSubset;
  ctxt->sax->externalSubset = RefuseSubset;
  // No network, no entity substitution, no DTD loading; nesting is held to libxml2's 256 levels.
  const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
  xmlDocPtr doc = xmlCtxtReadMemory(ctxt, text.data(), static_cast<int>(text.size()), nullptr,
                                    nullptr, options);
  std::string message;
  if (ctxt->_private == ctxt) {
    message = "a document type declaration is not allowed";
  } else if (!doc || !ctxt->wellFormed) {
    const xmlError* error = xmlCtxtGetLastError(ctxt);
    message = error && error->message ? error->message : "malformed document";
    while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
      message.pop_back();
    if (error) message = "line " + std::to_string(error->line) + ": " + message;
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

XmlNode XmlDocument::DocumentElement() const { return XmlNode(xmlDocGetRootElement(doc_.get())); }

}  // namespace morvek
