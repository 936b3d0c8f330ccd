// The request by date and the number return: the register names the first and the last document
// of a date interval; the fetch then runs as a request by number.
#include <exception>

#include "app/application.h"
#include "app/tform53.h"
#include "codec/cp1251.h"
#include "platform/numbers.h"
#include "platform/translation.h"
#include "session/by_date.h"

namespace morvek {

void TForm53::Button4Click() {
  app_.RunExclusive([this] {
    BeginRequest();
    try {
      if (RequestByDate() == 0) {
        LoadAssembled();
        ListBox2.Clear();
        if (!RenderDocuments(ListBox2)) FailRequest();
        if (CheckBox1.checked) StoreLoaded();
      } else if (registerAsked_) {
        // Datecs replies carry no status text: their line shows none.
        const std::string code = ZelmarChosen() ? lastStatus_ : "";
        ListBox2.Clear();
        ListBox2.Add(std::string("РРО вернул ошибку:  "_tr) + code + " !");
        if (ZelmarChosen() && code == "0CD0")
          ListBox2.Add(std::string("Необходимо связаться с экваером и передать данные!"_tr));
      }
    } catch (const std::exception&) {
      AddFailureLines();
      FailRequest();
    }
    EndRequest();
    ReportLost();
  });
}

void TForm53::Button5Click() {
  app_.RunExclusive([this] {
    numbersReturned = false;
    int first = 1, last = 1;
    numbersReturned = QueryNumbersByDate(first, last);
    // The reply read belonged to an earlier request: ask once more.
    if (app_.zelmar.foreignReply)
      numbersReturned = QueryNumbersByDate(first, last) || numbersReturned;
    rq.check_no_min = first;
    rq.check_no_max = last;
    Edit1.text = std::to_string(first);
    Edit2.text = std::to_string(last);
    Button1.enabled = true;
    Button6.enabled = true;
  });
}

int TForm53::RequestByDate() {
  registerAsked_ = false;
  outcome.Begin();
  const DateInterval interval = ReadDateFields();
  if (interval.endDate.Before(interval.startDate)) {
    app_.ui.ShowMessage(std::string("Конечная дата должна быть не меньше начальной!"_tr));
    return 1;
  }
  registerAsked_ = true;
  outcome.stage = RequestOutcome::Stage::kRegisterFailed;
  int first = 0, last = 0;
  if (!AskNumbersByDate(interval, first, last)) return 1;
  if (recentFirmware)
    FetchBlocks(first, last, 1);
  else
    FetchByNumber(first, last, 1);
  return 0;
}

bool TForm53::QueryNumbersByDate(int& first, int& last) {
  if (AskNumbersByDate(ReadDateFields(), first, last)) return true;
  // Datecs errors have been shown by the result callback.
  if (ZelmarChosen() && lastStatus_ != "0000") ShowDeviceError();
  return false;
}

void TForm53::ShowDeviceError() {
  const ZelmarResult* result = app_.Form2.lastZelmarResult;
  app_.ui.ShowMessageBox(std::string("РРО вернул ошибку:"_tr) + (result ? result->statusCode : ""),
                         "Error");
}

DateInterval TForm53::ReadDateFields() const {
  return morvek::ReadDateFields({Edit4.text, Edit6.text, Edit5.text, Edit7.text});
}

bool TForm53::AskNumbersByDate(const DateInterval& interval, int& first, int& last) {
  const NumbersReply reply = morvek::AskNumbersByDate(app_.Link(), Edit3.text, interval);
  lastStatus_ = reply.status;
  if (!reply.given) return false;
  first = reply.first;
  last = reply.last;
  return true;
}

}  // namespace morvek
