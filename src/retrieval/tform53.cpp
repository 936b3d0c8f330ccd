#include "retrieval/tform53.h"

#include "journal/loader.h"
#include "platform/cp1251.h"
#include "platform/text_file.h"
#include "render/ordering.h"

namespace morvek {

TForm53::TForm53(Ui& ui) : ui_(ui) {
  ComboBox1.items = {std::string("Z-отчет"_cp), std::string("Чек"_cp),
                     std::string("Чек+Z-отчет"_cp), std::string("Внес./Изъят."_cp)};
  ComboBox1.Select(kTypeBoth);
  Edit1.text = "1";
  Edit2.text = "1";
  Edit3.text = "582941";
  rq.Clear();
}

void TForm53::FormCreate() {
  ComboBox1.Select(kTypeBoth);
}

void TForm53::ComboBox1Change() {
  const bool zReports = ComboBox1.itemIndex == kTypeZReport;
  Edit1.text = std::to_string(zReports ? rq.z_no_min : rq.check_no_min);
  Edit2.text = std::to_string(zReports ? rq.z_no_max : rq.check_no_max);
}

void TForm53::SetRequest(int documentType, int first, int last) {
  ComboBox1.Select(documentType);
  Edit1.text = std::to_string(first);
  Edit2.text = std::to_string(last);
}

void TForm53::Button3Click() {
  const auto path = ui_.PromptSaveFile({"*.txt", "*.txt", "txt"});
  if (!path) return;
  SaveLines(*path, ListBox2.lines);
}

void TForm53::LoadDocument(std::string_view xmlText) {
  const XmlDocument document = XmlDocument::Parse(xmlText);
  LoadJournal(document.DocumentElement());
}

void TForm53::LoadJournal(const XmlNode& root) {
  Loader(rq, control).LoadJournal(root);
}

void TForm53::RenderDocuments(ListBox& list) {
  MakeRenderer().RenderDocuments(list, ComboBox1.itemIndex, Edit1.text, Edit2.text);
}

bool TForm53::ShowAssembled(std::string_view xmlText) {
  try {
    LoadDocument(xmlText);
    OrderDocuments(rq);
    ListBox2.Clear();
    RenderDocuments(ListBox2);
    return true;
  } catch (const std::exception&) {
    AddFailureLines();
    return false;
  }
}

void TForm53::AddFailureLines() {
  ListBox2.Add(std::string("Непредвиденный сбой в структуре получаемой информации!"_cp));
  ListBox2.Add(std::string("Попробуйте выбрать другой диапазон номеров или дат!"_cp));
}

}  // namespace morvek
