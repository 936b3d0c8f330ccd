// The sample journal (data/sample-journal.xml) through the whole request-by-number pipeline (parse,
// load, order, render, save), compared byte for byte with the files in tests/golden/expected/. The
// files hold what the save button writes: Windows-1251, CR LF after every line, trailing spaces
// kept. They were checked line by line against the layout rules, not merely captured.
//
// Which documents a rendering shows depends on how the walk maps FIRST and LAST to positions:
// - The documents are ordered by DI; the sample's receipts 1517..1529 and Z-reports 87..89 stand
//   at positions 0..15 in that order.
// - The "Z-отчет" type reads FIRST and LAST as Z-report numbers: the walk runs from the first to
//   the last Z-report numbered within them and shows those alone.
// - For the other types only receipts move the start and end positions: a receipt number r greater
// than FIRST puts
//   the start one position before it, r equal to FIRST puts it there; the end is the last receipt
//   whose number is not above LAST. A Z-report matches only when its number equals
//   zNumberByPosition[number], and that table is empty in a fresh window, so in one fresh
//   rendering Z-reports never bound the range: they are shown when they lie between the start
//   and end receipts.
// - Every position from start to end is visited; the document type then decides the layout or
//   nothing.
// So the whole journal (FIRST 1, LAST 2147483647) covers positions 0..15 because it ends with a
// receipt; "receipt 1519 1523" covers 1519..1523; "both 1522 1526" shows Z-report 87 among the
// receipts around it.
//
// To regenerate after a deliberate change of the journal or the layouts, run the tests with
// MORVEK_UPDATE_GOLDEN=1 and review the difference before committing it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "app/application.h"
#include "test_support.h"

namespace morvek::test {
namespace {

const std::string kJournal = MORVEK_SOURCE_DIR "/data/sample-journal.xml";
const std::string kExpectedDir = MORVEK_SOURCE_DIR "/tests/golden/expected/";

struct GoldenCase {
  const char* name;  // test name and file name
  int type;
  int first, last;
};
void PrintTo(const GoldenCase& c, std::ostream* os) {
  *os << c.name;
}

struct Rendered {
  bool shown = false;
  std::vector<std::string> lines;
  std::string saved;         // what the save button wrote
  bool errorLogged = false;  // whether any document failed
};

// A fresh request window, as for every request by number: load, order, render, then "Сохранить".
Rendered RenderSample(int type, int first, int last) {
  TempDir dir;
  RecordingUi ui;
  Application app(ui);
  TForm53& form = app.Form53;
  form.FormCreate();
  form.errorLogPath = dir.File("error.log");
  form.control.Reset();
  form.ComboBox1.Select(type);
  form.Edit1.text = std::to_string(first);
  form.Edit2.text = std::to_string(last);
  Rendered result;
  result.shown = form.ShowAssembled(ReadFile(kJournal));
  result.lines = form.ListBox2.lines;
  ui.saveAnswer = dir.File("saved.txt");
  form.Button3Click();
  result.saved = ReadFile(dir.File("saved.txt"));
  result.errorLogged = FileExists(dir.File("error.log"));
  return result;
}

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find("\r\n", start), text.size());
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// Byte for byte, and when they differ, the first line that differs, readable in UTF-8.
void ExpectSameText(const std::string& expected, const std::string& actual) {
  if (expected == actual) return;
  const std::vector<std::string> want = SplitCrLf(expected), got = SplitCrLf(actual);
  for (std::size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
    const std::string w = i < want.size() ? U(want[i]) : "(no line)";
    const std::string g = i < got.size() ? U(got[i]) : "(no line)";
    if (w != g) {
      ADD_FAILURE() << "line " << i + 1 << " differs\n  expected: [" << w << "]\n  actual:   [" << g
                    << "]";
      return;
    }
  }
  ADD_FAILURE() << "same lines, different line ends";
}

class SampleJournalGolden : public testing::TestWithParam<GoldenCase> {};

TEST_P(SampleJournalGolden, SavedTextMatchesTheCheckedFile) {
  const GoldenCase& c = GetParam();
  const Rendered rendered = RenderSample(c.type, c.first, c.last);
  ASSERT_TRUE(rendered.shown);
  EXPECT_FALSE(rendered.errorLogged) << "a document of the sample failed to render";
  ASSERT_FALSE(rendered.lines.empty());

  const std::string path = kExpectedDir + c.name + ".txt";
  const char* update = std::getenv("MORVEK_UPDATE_GOLDEN");
  if (update && std::string(update) == "1") {
    WriteFile(path, rendered.saved);
    std::printf("rewrote %s: review the difference before committing it\n", path.c_str());
  }
  ASSERT_TRUE(FileExists(path)) << path << " is missing; MORVEK_UPDATE_GOLDEN=1 writes it";
  ExpectSameText(ReadFile(path), rendered.saved);
}

INSTANTIATE_TEST_SUITE_P(
    , SampleJournalGolden,
    testing::Values(
        // Every document, receipts and Z-reports in DI order.
        GoldenCase{"BothWholeJournal", kTypeBoth, 1, 2147483647},
        // Sale receipts with TX records, a cancelled one, excise, a return receipt.
        GoldenCase{"ReceiptsFrom1519To1523", kTypeReceipt, 1519, 1523},
        // Z-report 87 between the receipts of the day it closes and of the next day.
        GoldenCase{"BothFrom1522To1526", kTypeBoth, 1522, 1526},
        // The three Z-reports and nothing else.
        GoldenCase{"ZReportsWholeJournal", kTypeZReport, 1, 2147483647},
        // The three service receipts in the cash-document layout.
        GoldenCase{"CashDocumentsWholeJournal", kTypeCash, 1, 2147483647}),
    [](const testing::TestParamInfo<GoldenCase>& param) { return std::string(param.param.name); });

TEST(SampleJournalRange, ZReportTypeChoosesByZReportNumbers) {
  // 87..89 holds every Z-report of the sample.
  EXPECT_EQ(ReadFile(kExpectedDir + "ZReportsWholeJournal.txt"),
            RenderSample(kTypeZReport, 87, 89).saved);
  const std::string middle = RenderSample(kTypeZReport, 88, 88).saved;
  EXPECT_NE(middle.find(W("Z-звіт N 88\r\n")), std::string::npos) << U(middle);
  EXPECT_EQ(middle.find(W("Z-звіт N 87")), std::string::npos) << U(middle);
  EXPECT_EQ(middle.find(W("Z-звіт N 89")), std::string::npos) << U(middle);
  // Receipt numbers hold no Z-report number: nothing is shown.
  EXPECT_TRUE(RenderSample(kTypeZReport, 1517, 1529).lines.empty());
}

}  // namespace
}  // namespace morvek::test
