// The request by number: the number fields checked, every document asked for fragment by
// fragment, the assembled document loaded, ordered and shown.
#include <exception>

#include "app/application.h"
#include "app/tform53.h"
#include "codec/cp1251.h"
#include "platform/numbers.h"
#include "platform/translation.h"
#include "render/ordering.h"
#include "session/fetch.h"

namespace morvek {

void TForm53::Button1Click() {
  app_.RunExclusive([this] {
    BeginRequest();
    try {
      if (RequestByNumber() == 0) {
        TForm4& notice = app_.Form4;
        notice.Show();
        notice.Label1.text = "ИДЁТ ОБРАБОТКА ДАННЫХ...."_tr;
        notice.Label2.text.clear();
        notice.Repaint();
        if (!alreadyLoaded) {
          LoadAssembled();
          OrderDocuments(rq);
          if (recordInterval)
            for (const auto& [first, last] : toRecord_)
              loadedIntervals[outcome.docType].Append(first, last);
        }
        ListBox2.Clear();
        if (!RenderDocuments(ListBox2)) FailRequest();
        if (CheckBox1.checked && !alreadyLoaded) StoreLoaded();
      }
    } catch (const std::exception&) {
      AddFailureLines();
      FailRequest();
    }
    EndRequest();
    ComboBox1.enabled = true;
    ReportLost();
  });
}

int TForm53::RequestByNumber() {
  outcome.Begin();
  requestFirst = StrToInt(Edit1.text);
  requestLast = StrToInt(Edit2.text);
  const int docType = ComboBox1.itemIndex == kTypeZReport ? 0 : 1;
  if (!RangeIsValid(app_.ui, requestFirst, requestLast)) return 1;
  if (recentFirmware)
    FetchBlocks(requestFirst, requestLast, docType);
  else
    FetchByNumber(requestFirst, requestLast, docType);
  return 0;
}

void TForm53::FetchByNumber(int first, int last, int docType) {
  // Left over from an earlier block transfer, either flag would keep what this loop fetched out of
  // the model or record a range the blocks never loaded.
  alreadyLoaded = false;
  recordInterval = false;
  BeginAssembly();
  sootv& fetchedTable =
      ComboBox1.itemIndex == kTypeZReport ? tables.shownZNumbers : tables.shownNumbers;
  FetchHooks hooks = RequestHooks();
  hooks.holdsNumber = [&fetchedTable](int number) { return fetchedTable.Get(number) != 0; };
  morvek::FetchByNumber(app_.Link(), Edit3.text, docType, first, last, hooks, fetched);
  for (int number : fetched.settled) {
    fetchedTable.Set(number, 1);
    markedFetched_.push_back(number);
  }
  EndAssembly();
}

FetchHooks TForm53::RequestHooks() {
  FetchHooks hooks;
  hooks.beforeAsking = [this] {
    app_.Form4.Repaint();
    app_.ui.ProcessMessages();
  };
  hooks.progress = [this](long long done, long long count, long long number) {
    ShowProgress(done, count, number);
  };
  return hooks;
}

}  // namespace morvek
