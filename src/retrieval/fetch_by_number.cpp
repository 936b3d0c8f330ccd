// The request by number: the number fields checked, every document asked for fragment by
// fragment, the assembled document loaded, ordered and shown.
#include <exception>

#include "app/application.h"
#include "codec/base64.h"
#include "codec/cp1251.h"
#include "platform/numbers.h"
#include "render/ordering.h"
#include "retrieval/document_identity.h"
#include "retrieval/tform53.h"

namespace morvek {

namespace {

// Fragment requests made for one document at most.
constexpr int kMaxFragments = 0x8000;
// Tries for a fragment whose reply fails its checksum: a byte changed on the wire is not taken,
// and it is seldom changed twice.
constexpr int kFragmentTries = 4;

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
          if (recordInterval)
            for (const auto& [first, last] : toRecord_)
              loadedIntervals[outcome.docType].Append(first, last);
        }
        ListBox2.Clear();
        RenderDocuments(ListBox2);
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
  outcome.Ask(docType, first, last);
  sootv& fetchedTable =
      ComboBox1.itemIndex == kTypeZReport ? tables.shownZNumbers : tables.shownNumbers;
  // In 64 bits, so that neither the count nor the loop overflows at the ends of the int range.
  const long long count = static_cast<long long>(last) - first + 1;
  for (long long n = first; n <= last; ++n) {
    const int number = static_cast<int>(n);
    if (fetchedTable.Get(number) != 0) {
      outcome.Add(number, Fate::kHeld);
      continue;
    }
    app_.Form4.Repaint();
    app_.ui.ProcessMessages();
    const DocumentResult result = FetchDocument(number, docType);
    outcome.Add(number, result.fate, result.reason, result.status);
    ShowProgress(n - first, count, n);
    if (result.markFetched && fetchedTable.Get(number) == 0) {
      fetchedTable.Set(number, 1);
      markedFetched_.push_back(number);
    }
    // The connection is gone and the driver could not make it again: every further document
    // would only fail the same way, so the rest is left for a click after connecting again.
    if (!app_.Form1.ClientSocket1.IsActive()) {
      if (n < last) outcome.Add(number + 1, last, Fate::kLost, Reason::kConnectionLost);
      break;
    }
  }
  EndAssembly();
}

TForm53::DocumentResult TForm53::FetchDocument(int number, int docType) {
  std::string text;
  bool fragments = false;  // at least one fragment arrived
  for (int fragment = 0; fragment < kMaxFragments; ++fragment) {
    FragmentReply reply = AskFragment(number, docType, fragment);
    for (int tries = 1; reply.kind == FragmentReply::kChecksum && tries < kFragmentTries; ++tries)
      reply = AskFragment(number, docType, fragment);
    switch (reply.kind) {
      case FragmentReply::kData:
        text += reply.data;
        fragments = true;
        continue;
      case FragmentReply::kNoMore:
        if (!fragments) return {Fate::kAbsent, Reason::kNoFragment};
        break;
      // A single parameter ends the document and marks it fetched, whatever it says.
      case FragmentReply::kSingle:
        if (!fragments) return {Fate::kAbsent, Reason::kSingleParam, {}, true};
        break;
      case FragmentReply::kRefused:
        return fragments ? DocumentResult{Fate::kLost, Reason::kCutShort, reply.status}
                         : DocumentResult{Fate::kAbsent, Reason::kRefused, reply.status};
      // A document cut short by an error is left out whole: its first fragments alone would break
      // the assembled document, and marked fetched it would never be asked again.
      default: return {Fate::kLost, reply.reason, reply.status};
    }
    break;
  }
  return AddDocument(text) ? DocumentResult{Fate::kDelivered, Reason::kNone, {}, true}
                           : DocumentResult{Fate::kLost, Reason::kDoesNotParse};
}

TForm53::FragmentReply TForm53::AskFragment(int number, int docType, int fragment) {
  RegisterLink& link = app_.Link();
  const LinkReply reply = link.Fragment(Edit3.text, docType, number, fragment);
  switch (reply.kind) {
    case LinkReply::Kind::kChecksum: return {FragmentReply::kChecksum, Reason::kChecksum};
    case LinkReply::Kind::kNak: return {FragmentReply::kFailed, Reason::kNak};
    case LinkReply::Kind::kNoReply: return {FragmentReply::kFailed, Reason::kNoReply};
    case LinkReply::Kind::kConnectionLost: return {FragmentReply::kFailed, Reason::kConnectionLost};
    case LinkReply::Kind::kAnswer: break;
  }
  if (!reply.refusal.empty()) return {FragmentReply::kRefused, Reason::kRefused, reply.refusal};
  if (reply.params.size() == 1) return {FragmentReply::kSingle};
  if (reply.params.size() != 2) return {FragmentReply::kFailed, Reason::kUnexpectedReply};
  // An indicator of 0 ends the document; so does -1 from a Datecs register, while a Zelmar one
  // sends data with it.
  const int indicator = StrToInt(reply.params[0]);
  if (indicator == 0 || (indicator == -1 && link.protocol() == Protocol::kDatecs))
    return {FragmentReply::kNoMore};
  FragmentReply data(FragmentReply::kData);
  data.data = Base64Decode(reply.params[1]);
  return data;
}

}  // namespace morvek
