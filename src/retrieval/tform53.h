#pragma once
// The retrieval window's logic: the model of the loaded documents, the correspondence tables, the
// controls, and the steps from an assembled journal document to the rendered list.
#include <string>
#include <string_view>

#include "journal/document.h"
#include "journal/typ_work.h"
#include "platform/controls.h"
#include "platform/ui.h"
#include "platform/xml_document.h"
#include "render/renderer.h"

namespace morvek {

class TForm53 {
 public:
  explicit TForm53(Ui& ui);

  // Controls.
  ComboBox ComboBox1;  // document type: "Z-отчет", "Чек", "Чек+Z-отчет", "Внес./Изъят."
  Edit Edit1;        // first document number
  Edit Edit2;        // last document number
  Edit Edit3;        // register password
  ListBox ListBox1;  // the assembled document, a line per text line
  ListBox ListBox2;  // what the operator reads

  // State.
  morvek::rq rq;
  morvek::control control;
  DocumentTables tables;
  std::string errorLogPath = "error.log";

  void FormCreate();
  void ComboBox1Change();
  // "Сохранить": the list to a text file of the operator's choice. A file that cannot be written
  // raises FileError, which the front end reports as an unhandled failure.
  void Button3Click();
  void DiscardDocuments() { rq.Clear(); }
  // The document type and number range of a request by number, as the operator enters them.
  void SetRequest(int documentType, int first, int last);

  // Parses an assembled journal and loads it into the model (documents accumulate); raises
  // XmlError or ConvertError, keeping what was stored before the failure.
  void LoadDocument(std::string_view xmlText);
  void LoadJournal(const XmlNode& root);
  void RenderDocuments(ListBox& list);
  // The processing step after a request by number has assembled its document: load, order, and
  // show the requested range in ListBox2. False, with the two failure lines added to the list,
  // when anything raised.
  bool ShowAssembled(std::string_view xmlText);
  // The two lines that end a request that failed.
  void AddFailureLines();

 private:
  Renderer MakeRenderer() { return Renderer(rq, tables, errorLogPath); }

  Ui& ui_;
};

}  // namespace morvek
