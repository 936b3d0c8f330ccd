#include "retrieval/tform53.h"

#include "app/application.h"
#include "journal/loader.h"
#include "platform/cp1251.h"
#include "platform/numbers.h"
#include "platform/text_file.h"
#include "render/ordering.h"

namespace morvek {

TForm53::TForm53(Application& app) : app_(app) {
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
  const auto path = app_.ui.PromptSaveFile({"*.txt", "*.txt", "txt"});
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

void TForm53::BeginAssembly() {
  ListBox1.Clear();
  ListBox1.Add("<?xml version=\"1.0\" encoding=\"windows-1251\"?>");
  ListBox1.Add("<RQ V=\"1\">");
}

void TForm53::AddAssembledDocument(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  if (!text.empty()) ListBox1.Add(std::string(text));
}

void TForm53::EndAssembly() {
  ListBox1.Add("</RQ>");
  SaveLines(tempXmlPath, ListBox1.lines);
}

void TForm53::ShowProgress(long long done, long long count, long long number) {
  if (count == 0) return;
  const float percent = static_cast<float>(done) / static_cast<float>(count) * 100.0f;
  TForm4& notice = app_.Form4;
  if (!notice.IsActive()) return;
  notice.Label2.text = FloatToFixed(percent, 2, 8) + "%     " + std::to_string(number);
  notice.Repaint();
}

// Placeholders until the requests land.
void TForm53::FormClose() {}
void TForm53::Button1Click() {}
void TForm53::Button2Click() {}
void TForm53::Button4Click() {}
void TForm53::Button5Click() {}
void TForm53::Button6Click() {}
int TForm53::RequestByNumber() {
  return 1;
}
void TForm53::FetchByNumber(int, int, int) {}
int TForm53::RequestByDate() {
  return 1;
}
void TForm53::QueryNumbersByDate(int&, int&) {}
void TForm53::ShowDeviceError() {}

}  // namespace morvek
