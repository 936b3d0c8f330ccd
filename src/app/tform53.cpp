#include "app/tform53.h"

#include "app/application.h"
#include "codec/cp1251.h"
#include "codec/errors.h"
#include "journal/loader.h"
#include "platform/date_time.h"
#include "platform/numbers.h"
#include "platform/text_file.h"
#include "platform/translation.h"
#include "render/ordering.h"
#include "session/render.h"

namespace morvek {

TForm53::TForm53(Application& app) : app_(app) {
  Retranslate();
  ComboBox1.Select(kTypeBoth);
  Edit3.text = "582941";
  Edit1.text = "1";
  Edit2.text = "1";
  Edit4.maxLength = Edit5.maxLength = 8;
  Edit6.maxLength = Edit7.maxLength = 5;
  rq.Clear();
}

void TForm53::Retranslate() {
  caption = "Форма запроса и отображения данных"_tr;
  GroupBox1.text = "по номерам"_tr;
  Label1.text = "Тип документа"_tr;
  ComboBox1.items = {std::string("Z-отчет"_tr), std::string("Чек"_tr),
                     std::string("Чек+Z-отчет"_tr), std::string("Внес./Изъят."_tr)};
  if (ComboBox1.itemIndex >= 0) ComboBox1.Select(ComboBox1.itemIndex);
  Label4.text = "Пароль"_tr;
  Label2.text = "Начальный номер"_tr;
  Label3.text = "Конечный номер"_tr;
  Button1.caption = "Получить"_tr;
  Button6.caption = "Печать на РРО"_tr;
  GroupBox2.text = "по датам"_tr;
  Label5.text = "Начальная дата"_tr;
  Label7.text = "Время"_tr;
  Label6.text = "Конечная дата"_tr;
  Button4.caption = "Получить"_tr;
  Button5.caption = "Вернуть номера"_tr;
  Button3.caption = "Сохранить"_tr;
  Button7.caption = "Печать на принтер"_tr;
  Button8.caption = "Сохранить PDF"_tr;
  Button2.caption = "Закрыть"_tr;
  CheckBox1.caption = "Сохранять в архив"_tr;
}

// The number formats need no setting here: every number text of the core is written and read
// with "." whatever the process locale says (platform/numbers.h).
void TForm53::FormCreate() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  FillDateFields(local);
  ComboBox1.Select(kTypeBoth);
}

void TForm53::FillDateFields(const std::tm& now) {
  date_e today;
  today.day = now.tm_mday;
  today.month = now.tm_mon + 1;
  today.year = now.tm_year % 100;
  Edit5.text = TwoDigits(today.day) + "." + TwoDigits(today.month) + "." + TwoDigits(today.year);
  Edit7.text = TwoDigits(now.tm_hour) + ":" + TwoDigits(now.tm_min);
  Edit4.text = today.FirstOfPreviousMonth();
  Edit6.text = "00:00";
}

void TForm53::FormClose() {
  app_.Form3.Show();
}

void TForm53::Button2Click() {
  Close();
  app_.Form3.Show();
}

void TForm53::ComboBox1Change() {
  const bool zReports = ComboBox1.itemIndex == kTypeZReport;
  Edit1.text = std::to_string(zReports ? rq.z_no_min : rq.check_no_min);
  Edit2.text = std::to_string(zReports ? rq.z_no_max : rq.check_no_max);
}

bool TForm53::ZelmarChosen() const {
  return app_.ChosenProtocol() == Protocol::kZelmar;
}

void TForm53::BeginRequest() {
  control.Reset();
  Hide();
  TForm4& notice = app_.Form4;
  notice.caption = "ВНИМАНИЕ!!!!"_tr;
  notice.Label1.text = "ИДЁТ ЗАГРУЗКА ДАННЫХ...."_tr;
  notice.Show();
  notice.Repaint();
}

void TForm53::EndRequest() {
  app_.Form4.Label2.text.clear();
  app_.Form4.Hide();
  Show();
}

void TForm53::LoadAssembled() {
  try {
    LoadDocument(JoinLines(ListBox1.lines));
  } catch (const XmlError&) {
    // Nothing of a document that does not parse reached the model: its documents must not stay
    // marked fetched, or no later request would ask for them again.
    sootv& fetchedTable =
        ComboBox1.itemIndex == kTypeZReport ? tables.shownZNumbers : tables.shownNumbers;
    for (int number : markedFetched_) fetchedTable.Set(number, 0);
    markedFetched_.clear();
    for (const auto& added : addedByBlocks_) loadedByBlocks_.erase(added);
    addedByBlocks_.clear();
    throw;
  }
}

void TForm53::FailRequest() {
  if (outcome.stage == RequestOutcome::Stage::kAsked) outcome.Abort(Reason::kRequestFailed);
}

void TForm53::DiscardDocuments() {
  rq.Clear();
  tables.shownNumbers.Clear();
  tables.shownZNumbers.Clear();
  tables.zNumberByPosition.Clear();
  for (interval& held : loadedIntervals) held.Clear();
  loadedByBlocks_.clear();
}

void TForm53::ReportLost() {
  if (showLostMessage && outcome.Count(Fate::kLost) > 0)
    app_.ui.ShowMessage(LostDocumentsMessage(outcome));
}

void TForm53::SetRequest(int documentType, int first, int last) {
  ComboBox1.Select(documentType);
  Edit1.text = std::to_string(first);
  Edit2.text = std::to_string(last);
}

void TForm53::Button3Click() {
  const auto path = app_.ui.PromptSaveFile({"*.txt", "*.txt", "txt"});
  if (!path) return;
  SaveListLines(*path, ListBox2.lines);
}

void TForm53::LoadDocument(std::string_view xmlText) {
  LoadJournalText(rq, control, xmlText);
}

bool TForm53::RenderDocuments(ListBox& list) {
  const std::size_t base = list.lines.size();
  // Each document's lines go into the list as the walk makes them, never held twice.
  const LinesTaken addNow = [&list](LineList& lines) {
    for (const std::string_view line : lines) list.Add(line);
    lines.clear();
  };
  RenderResult shown =
      RenderModel(rq, tables, ComboBox1.itemIndex, Edit1.text, Edit2.text, errorLogPath, addNow);
  if (&list == &ListBox2) NoteListDocuments(shown.documents, base);
  for (const std::string& line : shown.lines) list.Add(line);
  return !shown.failed;
}

bool TForm53::ShowAssembled(std::string_view xmlText) {
  try {
    LoadDocument(xmlText);
    OrderDocuments(rq);
  } catch (const std::exception&) {
    AddFailureLines();
    return false;
  }
  ListBox2.Clear();
  return RenderDocuments(ListBox2);
}

void TForm53::AddFailureLines() {
  for (std::string& line : FailureLines()) ListBox2.Add(std::move(line));
}

void TForm53::BeginAssembly() {
  fetched.documents.clear();
  fetched.settled.clear();
  markedFetched_.clear();
  addedByBlocks_.clear();
  ListBox1.Clear();
}

void TForm53::EndAssembly() {
  ListBox1.lines = AssembledLines(fetched.documents);
  SaveListLines(tempXmlPath, ListBox1.lines);
}

void TForm53::ShowProgress(long long done, long long count, long long number) {
  if (count == 0) return;
  const float percent = static_cast<float>(done) / static_cast<float>(count) * 100.0f;
  TForm4& notice = app_.Form4;
  if (!notice.IsActive()) return;
  notice.Label2.text = FloatToFixed(percent, 2, 8) + "%     " + std::to_string(number);
  notice.Repaint();
}

}  // namespace morvek
