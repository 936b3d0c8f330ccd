// The request by number: the number fields checked, every document asked for fragment by
// fragment, the assembled document loaded, ordered and shown.
#include <exception>

#include "app/application.h"
#include "platform/cp1251.h"
#include "platform/numbers.h"
#include "render/ordering.h"
#include "retrieval/base64.h"
#include "retrieval/tform53.h"

namespace morvek {

namespace {

// Fragment requests made for one document at most.
constexpr int kMaxFragments = 0x8000;

}  // namespace

void TForm53::Button1Click() {
  app_.RunExclusive([this] {
    BeginRequest();
    try {
      if (RequestByNumber() == 0) {
        TForm4& notice = app_.Form4;
        notice.Show();
        notice.Label1.text = "ИДЁТ ОБРАБОТКА ДАННЫХ...."_cp;
        notice.Label2.text.clear();
        notice.Repaint();
        if (!alreadyLoaded) {
          LoadAssembled();
          OrderDocuments(rq);
          if (recordInterval) loadedIntervals.Append(requestFirst, requestLast);
        }
        ListBox2.Clear();
        RenderDocuments(ListBox2);
      }
    } catch (const std::exception&) {
      AddFailureLines();
    }
    EndRequest();
    ComboBox1.enabled = true;
  });
}

int TForm53::RequestByNumber() {
  requestFirst = StrToInt(Edit1.text);
  requestLast = StrToInt(Edit2.text);
  const int docType = ComboBox1.itemIndex == kTypeZReport ? 0 : 1;
  if (requestFirst < 1) {
    app_.ui.ShowMessage(std::string("Началный номер должен быть >0!"_cp));
    return 1;
  }
  if (requestLast < requestFirst) {
    app_.ui.ShowMessage(std::string("Конечный номер должен быть не меньше начального!"_cp));
    return 1;
  }
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
  // In 64 bits, so that neither the count nor the loop overflows at the ends of the int range.
  const long long count = static_cast<long long>(last) - first + 1;
  for (long long n = first; n <= last; ++n) {
    const int number = static_cast<int>(n);
    if (fetchedTable.Get(number) != 0) continue;
    app_.Form4.Repaint();
    app_.ui.ProcessMessages();
    std::string documentText;
    const bool fetched = FetchFragments(number, docType, documentText);
    AddAssembledDocument(documentText);
    ShowProgress(n - first, count, n);
    if (fetched && fetchedTable.Get(number) == 0) {
      fetchedTable.Set(number, 1);
      markedFetched_.push_back(number);
    }
    // The connection is gone and the driver could not make it again: every further document
    // would only fail the same way, so the rest is left for a click after connecting again.
    if (!app_.Form1.ClientSocket1.IsActive()) break;
  }
  EndAssembly();
}

bool TForm53::FetchFragments(int number, int docType, std::string& text) {
  const bool zelmar = ZelmarChosen();
  // A document cut short by an error is left out whole: its first fragments alone would break
  // the assembled document, and with it every other document of the request, and marked fetched
  // it would never be asked again.
  const auto cutShort = [&text] {
    text.clear();
    return false;
  };
  bool fetched = false;
  for (int fragment = 0; fragment < kMaxFragments; ++fragment) {
    int paramCount = 0;
    const std::string* params = nullptr;
    if (zelmar) {
      int out = 0;
      const ZelmarResult* result =
          app_.zelmar.ZelmarGetDocument(Edit3.text, docType, number, fragment, out, 0);
      app_.Form2.lastZelmarResult = result;
      // A reply whose checksum does not match may carry any byte wrong: its fragment is not
      // taken, and the document is asked again next time.
      if (result->statusCode != "0000" || (result->statusFlags & ZelmarResult::kChecksumError))
        return cutShort();
      paramCount = result->paramCount;
      params = result->params.data();
    } else {
      // A request that ended on the driver's reconnect path delivered nothing: the copy still
      // holds the previous reply, which must not be taken for this one.
      const long deliveries = app_.datecs.deliveries;
      app_.datecs.DatecsGetDocument(app_.datecs.PrinterResultsxCallback(), Edit3.text, docType,
                                    number, fragment);
      if (app_.datecs.deliveries == deliveries ||
          (app_.Form2.lastDatecsResult.statusFlags & datecs::kChecksumError))
        return cutShort();
      paramCount = app_.Form2.lastDatecsResult.paramCount;
      params = app_.Form2.lastDatecsResult.params.data();
    }
    // A single parameter ends the document, whatever it says.
    if (paramCount == 1) return true;
    if (paramCount != 2) return cutShort();
    const int indicator = StrToInt(params[0]);
    if (indicator == 0 || (indicator == -1 && !zelmar)) return fetched;
    text += Base64Decode(params[1]);
    fetched = true;
  }
  return fetched;
}

}  // namespace morvek
