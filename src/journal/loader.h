#pragma once
// Walks a parsed journal depth-first, in document order, and stores every attribute value and
// used element text straight into the model. Documents accumulate across loads until rq.Clear().
#include "journal/document.h"
#include "journal/typ_work.h"
#include "platform/xml_document.h"

namespace morvek {

class Loader {
 public:
  Loader(rq& model, control& cursor) : rq_(model), control_(cursor) {}

  // The root's attributes are read as the cursor's element (normally RQ); the root itself is not
  // entered. A conversion error stops the load; what was stored before it stays.
  void LoadJournal(const XmlNode& root);
  // The same in parts, for a journal read a child of the root at a time: the root's attributes,
  // then each child with its subtree (not its siblings).
  void ReadRoot(const XmlNode& root);
  void WalkNode(const XmlNode& node);
  void WalkNodes(XmlNode first);
  void ReadAttributes(XmlAttribute first);
  void StoreValue(int code, const XmlValue& value);
  // Closes the element entered last: advances the key counters of its kind.
  void AdvanceCounters();

 private:
  dat& Document() { return rq_.dats[rq_.doc_index]; }
  check& Receipt() {
    dat& d = Document();
    return d.checks[d.check_key];
  }
  zvit& ZReport() {
    dat& d = Document();
    return d.zvits[d.zvit_key];
  }
  void StoreReceiptLine(int code, const XmlValue& value);
  void StoreZReportTotal(int code, const XmlValue& value);

  rq& rq_;
  control& control_;
};

// Loads a journal text into the model a child of the root at a time, so that the parsed tree
// never holds more than one document. A text that is not well-formed raises XmlError and loads
// nothing.
void LoadJournalText(rq& model, control& cursor, std::string_view text);
// The same for a journal read a block at a time (a file), never held whole.
void LoadJournalText(rq& model, control& cursor, const XmlInput& input);

}  // namespace morvek
