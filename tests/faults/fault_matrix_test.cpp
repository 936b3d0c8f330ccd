// The fault matrix (docs/fault-matrix.md): every fault the simulated register can commit, at its
// second request, against a request by number for Zelmar and for Datecs and against a block
// transfer. Each ends within a bound, shows what the matrix says, keeps every document that came
// whole exactly as the register serves it, and a second click mends what the fault cut short.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "app/sim_window.h"

namespace morvek::test {
namespace {

enum class Outcome {
  kWhole,        // every document comes whole
  kLeftOut,      // the document the fault hit is left out, asked again by the next click
  kRestLeftOut,  // the documents from the one hit on are left out, asked again by the next click
  kLost,         // the connection is lost: nothing from the fault on, also on the next click
};

struct Row {
  const char* fault;
  Outcome outcome;
  const char* message = "";    // UTF-8; every message box of the first click but the last reads so
  const char* lost = "";       // UTF-8; the lost documents the click's last box names, a line each
  bool messagePrefix = false;  // the boxes only start with message
  bool clickAgain = true;      // the second click is checked too
};

// The box that ends a click that lost documents: their count, then a line each.
std::string LostBox(const std::string& lines) {
  const auto count = std::count(lines.begin(), lines.end(), '\n') + 1;
  return W("Не получено документов: " + std::to_string(count) + "\n" + lines);
}

void PrintTo(const Row& row, std::ostream* os) {
  *os << row.fault;
}
std::string RowName(const ::testing::TestParamInfo<Row>& info) {
  std::string name;
  for (const char* c = info.param.fault; *c != '@'; ++c) name += *c;
  return name;
}

// The waits of a silent Zelmar register shrunk further, so that a register that stops answering
// costs about a second per document (five sends of 50 empty reads of 5 ms).
RegisterTimings TightTimings() {
  RegisterTimings t = ShortTimings();
  t.zelmar.streamTimeoutMs = 5;
  t.zelmar.waitSliceMs = 1;
  t.zelmar.receiveLimitMs = 1000;
  t.blocks = {300, 300};
  return t;
}

// Generous: the slowest row takes about four seconds with these timings.
constexpr auto kBound = std::chrono::seconds(20);

class FaultMatrix : public ::testing::TestWithParam<Row> {
 protected:
  // hit: the document the second request belongs to.
  void Check(Protocol protocol, const std::string& address, bool blocks, int first, int last,
             int hit) {
    const Row& row = GetParam();
    SimWindow w(protocol, address, {row.fault}, ReadFile(kSampleJournal), blocks, TightTimings());
    w.form.SetRecentFirmware(blocks);

    w.app.Form3.StatusBar1.panels = {"ZELMAR", "V2.01", "4000000001", "Nov 12 2014"};
    const auto panels = w.app.Form3.StatusBar1.panels;
    const auto start = std::chrono::steady_clock::now();
    w.FetchByNumber(kTypeReceipt, first, last);
    EXPECT_LT(std::chrono::steady_clock::now() - start, kBound);
    EXPECT_EQ(w.app.Form3.StatusBar1.panels, panels) << "the status bar is the connect's";
    EXPECT_FALSE(w.app.Form4.visible) << "the notice window is gone";
    EXPECT_FALSE(w.app.Form5.visible) << "the wait window is gone";
    EXPECT_TRUE(w.form.visible) << "the retrieval window is back";

    std::vector<int> kept;
    for (int n = first; n <= last; ++n)
      if (row.outcome == Outcome::kWhole || (row.outcome == Outcome::kLeftOut && n != hit) ||
          ((row.outcome == Outcome::kLost || row.outcome == Outcome::kRestLeftOut) && n < hit))
        kept.push_back(n);
    std::string expected = w.ExpectedAssembly(DocumentKind::kReceipt, 1, 0);
    const std::string tail = "</RQ>\r\n";
    expected.resize(expected.size() - tail.size());
    for (int n : kept)
      expected +=
          std::string(w.journal->Text(*w.journal->Find(DocumentKind::kReceipt, n))) + "\r\n";
    EXPECT_EQ(w.TempXml(), expected + tail);
    EXPECT_EQ(w.ShownReceipts(), kept);

    if (*row.lost != '\0') {
      ASSERT_FALSE(w.ui.messages.empty());
      EXPECT_EQ(U(w.ui.messages.back()), U(LostBox(row.lost)));
      w.ui.messages.pop_back();
    }
    const std::string message = W(row.message);
    if (message.empty())
      EXPECT_TRUE(w.ui.messages.empty()) << U(w.ui.messages.front());
    else
      EXPECT_FALSE(w.ui.messages.empty());
    for (const std::string& shown : w.ui.messages)
      EXPECT_EQ(row.messagePrefix ? shown.substr(0, message.size()) : shown, message) << U(shown);

    if (!row.clickAgain) return;
    // The next click asks again for what the fault left out, and only for that.
    w.ui.messages.clear();
    const auto again = std::chrono::steady_clock::now();
    w.FetchByNumber(kTypeReceipt, first, last);
    EXPECT_LT(std::chrono::steady_clock::now() - again, kBound);
    std::vector<int> all;
    for (int n = first; n <= last; ++n) all.push_back(n);
    if (row.outcome != Outcome::kLost)
      EXPECT_EQ(w.ShownReceipts(), all);
    else
      EXPECT_EQ(w.ShownReceipts(), kept);
  }
};

// Receipts 1519 to 1521 by number: the second request asks for the second fragment of 1519.
using ZelmarFaults = FaultMatrix;
TEST_P(ZelmarFaults, RequestByNumberEndsShowingWhatCameWhole) {
  Check(Protocol::kZelmar, "127.0.70.11", false, 1519, 1521, 1519);
}
INSTANTIATE_TEST_SUITE_P(
    Matrix, ZelmarFaults,
    ::testing::Values(
        Row{"syn@2", Outcome::kWhole}, Row{"nak@2", Outcome::kWhole},
        Row{"checksum@2", Outcome::kWhole}, Row{"split@2", Outcome::kWhole},
        Row{"drip@2", Outcome::kWhole}, Row{"silent@2", Outcome::kWhole},
        Row{"garbage@2", Outcome::kWhole}, Row{"close@2", Outcome::kWhole},
        Row{"seq@2", Outcome::kWhole}, Row{"command@2", Outcome::kWhole},
        Row{"status@2=0CD0", Outcome::kLeftOut, "", "1519: получен не полностью (0CD0)"},
        Row{"overlong@2", Outcome::kWhole},
        Row{"params@2", Outcome::kLeftOut, "", "1519: неожиданный ответ"},
        Row{"crc@2", Outcome::kWhole}, Row{"nomagic@2", Outcome::kWhole},
        Row{"bigblock@2", Outcome::kWhole},
        Row{"stop@2", Outcome::kLost, "", "1519: нет ответа\n1520: нет ответа\n1521: нет ответа"},
        Row{"late@2", Outcome::kWhole}, Row{"shortlen@2", Outcome::kWhole}),
    RowName);

using DatecsFaults = FaultMatrix;
TEST_P(DatecsFaults, RequestByNumberEndsShowingWhatCameWhole) {
  Check(Protocol::kDatecs, "127.0.70.12", false, 1519, 1521, 1519);
}
INSTANTIATE_TEST_SUITE_P(
    Matrix, DatecsFaults,
    ::testing::Values(Row{"syn@2", Outcome::kWhole},
                      Row{"nak@2", Outcome::kLeftOut, "Ошибка приема команды",
                          "1519: команда не принята"},
                      Row{"checksum@2", Outcome::kWhole, "Ошибка протокола"},
                      Row{"split@2", Outcome::kWhole}, Row{"drip@2", Outcome::kWhole},
                      Row{"silent@2", Outcome::kLeftOut, "Таймаут", "1519: нет ответа"},
                      Row{"garbage@2", Outcome::kLeftOut, "Таймаут", "1519: нет ответа"},
                      Row{"close@2", Outcome::kLeftOut, "", "1519: связь потеряна"},
                      Row{"seq@2", Outcome::kLeftOut, "Таймаут", "1519: нет ответа"},
                      Row{"command@2", Outcome::kWhole},
                      Row{"status@2", Outcome::kLeftOut,
                          "Команда не разрешена - Возможен запрос несуществующего номера чека",
                          "1519: получен не полностью (0x00000020)"},
                      Row{"overlong@2", Outcome::kWhole, "Ошибка протокола"},
                      Row{"params@2", Outcome::kLeftOut, "", "1519: неожиданный ответ"},
                      Row{"crc@2", Outcome::kWhole}, Row{"nomagic@2", Outcome::kWhole},
                      Row{"bigblock@2", Outcome::kWhole},
                      Row{"stop@2", Outcome::kLost, "Таймаут",
                          "1519: нет ответа\n1520: нет ответа\n1521: нет ответа"},
                      Row{"late@2", Outcome::kLeftOut, "Таймаут", "1519: нет ответа"},
                      Row{"shortlen@2", Outcome::kWhole, "Ошибка протокола"}),
    RowName);

// Receipts 1519 to 1523 in blocks, one block each: the second request is the continue block
// that brings 1520.
using BlockFaults = FaultMatrix;
TEST_P(BlockFaults, BlockTransferEndsShowingWhatCameWhole) {
  Check(Protocol::kDatecs, "127.0.70.13", true, 1519, 1523, 1520);
}
INSTANTIATE_TEST_SUITE_P(
    Matrix, BlockFaults,
    ::testing::Values(
        Row{"syn@2", Outcome::kLeftOut, "", "1520: повреждён блок"},
        Row{"nak@2", Outcome::kLeftOut, "", "1520: повреждён блок"},
        Row{"checksum@2", Outcome::kWhole}, Row{"split@2", Outcome::kWhole},
        Row{"drip@2", Outcome::kWhole},
        Row{"silent@2", Outcome::kRestLeftOut, "",
            "1520: нет ответа\n1521: нет ответа\n1522: нет ответа\n1523: нет ответа"},
        Row{"garbage@2", Outcome::kLeftOut, "", "1520: повреждён блок"},
        Row{"close@2", Outcome::kLost, "",
            "1520: связь потеряна\n1521: связь потеряна\n1522: связь потеряна\n1523: связь "
            "потеряна"},
        Row{"seq@2", Outcome::kWhole}, Row{"command@2", Outcome::kWhole},
        Row{"status@2", Outcome::kWhole}, Row{"overlong@2", Outcome::kWhole},
        Row{"params@2", Outcome::kWhole},
        Row{"crc@2", Outcome::kLeftOut, "", "1520: повреждён блок"},
        Row{"nomagic@2", Outcome::kLeftOut, "", "1520: повреждён блок"},
        Row{"bigblock@2", Outcome::kLeftOut, "", "1520: повреждён блок"},
        Row{"stop@2", Outcome::kLost, "",
            "1520: нет ответа\n1521: нет ответа\n1522: нет ответа\n1523: нет ответа"},
        Row{"late@2", Outcome::kRestLeftOut, "",
            "1520: нет ответа\n1521: нет ответа\n1522: нет ответа\n1523: нет ответа"},
        Row{"shortlen@2", Outcome::kWhole}),
    RowName);

}  // namespace
}  // namespace morvek::test
