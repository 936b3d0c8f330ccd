// Which loaded documents a rendering shows, in which order and layout, and how a failing document
// is reported in the error log.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "codec/errors.h"
#include "layout_support.h"
#include "render/ordering.h"

namespace morvek::test {
namespace {

class RenderWalk : public RenderFixture {
 protected:
  void Render(int type, const std::string& first, const std::string& last) {
    MakeRenderer().RenderDocuments(list, type, first, last);
  }

  // Positions 0 to 6 in ascending di: R5, Z87, R6, Z91, Z88, Z89, R7. Report 91 stands between
  // reports that a range may take in while it leaves 91 out.
  void AddReportsAroundZ91() {
    AddReceiptDocument(5, 1);
    AddZReportDocument(87, 2);
    AddReceiptDocument(6, 3);
    AddZReportDocument(91, 4);
    AddZReportDocument(88, 5);
    AddZReportDocument(89, 6);
    AddReceiptDocument(7, 7);
  }

  // Receipts 5, 7 and 9 at positions 0 to 2, in ascending di.
  void AddReceipts579() {
    AddReceiptDocument(5, 1);
    AddReceiptDocument(7, 2);
    AddReceiptDocument(9, 3);
  }

  // The documents in the list, in order: "R<number>" for a receipt footer, "Z<number>" for a
  // Z-report heading.
  std::vector<std::string> Shown() const {
    const std::string zHeading = W("           Z-звіт N ");
    std::vector<std::string> shown;
    for (const auto& line : list.lines) {
      if (line.compare(0, zHeading.size(), zHeading) == 0) {
        shown.push_back("Z" + std::string(line.substr(zHeading.size())));
      } else if (line.size() > 11 && line.compare(0, 2, "  ") == 0 &&
                 std::all_of(line.begin() + 2, line.begin() + 11,
                             [](char ch) { return ch >= '0' && ch <= '9'; })) {
        shown.push_back("R" + std::to_string(std::stoi(std::string(line.substr(2, 9)))));
      }
    }
    return shown;
  }

  // The lines one document gives on its own.
  std::vector<std::string> AloneAsReceipt(int position) {
    DocumentTables scratch;
    ListBox alone;
    Renderer(model, scratch, ErrorLogPath()).RenderReceipt(alone, position, Layout::Receipt);
    return alone.lines;
  }

  using Lines = std::vector<std::string>;
};

TEST_F(RenderWalk, StartPositionOfAReceiptNumber) {
  AddReceipts579();
  Renderer renderer = MakeRenderer();
  EXPECT_EQ(renderer.PositionOfNumber(6, false), 0);  // the receipt before the gap
  EXPECT_EQ(renderer.PositionOfNumber(7, false), 1);
  EXPECT_EQ(renderer.PositionOfNumber(1, false), 0);
  EXPECT_EQ(renderer.PositionOfNumber(100, false), 2);
}

TEST_F(RenderWalk, EndPositionOfAReceiptNumber) {
  AddReceipts579();
  Renderer renderer = MakeRenderer();
  EXPECT_EQ(renderer.PositionOfNumber(8, true), 1);
  EXPECT_EQ(renderer.PositionOfNumber(9, true), 2);
  EXPECT_EQ(renderer.PositionOfNumber(100, true), 2);
  EXPECT_EQ(renderer.PositionOfNumber(1, true), 0);
}

TEST_F(RenderWalk, ZReportPositionComesFromTheWalkIndexTable) {
  AddZReportDocument(1, 1);
  AddZReportDocument(2, 2);
  AddZReportDocument(3, 3);
  tables.zNumberByPosition.Set(5, 2);
  EXPECT_EQ(MakeRenderer().PositionOfNumber(5, false), 1);
}

TEST_F(RenderWalk, ZReportLookupLeavesTheNumberWithZeroInTheTable) {
  AddZReportDocument(1, 1);
  AddZReportDocument(2, 2);
  EXPECT_EQ(MakeRenderer().PositionOfNumber(4, true), 0);
  EXPECT_EQ(tables.zNumberByPosition.Snapshot(), (std::map<int, int>{{4, 0}}));
  EXPECT_FALSE(tables.zNumberByPosition.IsFilled());
}

TEST_F(RenderWalk, PositionTableHoldsTheTruncatedDiOfEveryCountedPosition) {
  AddReceiptDocument(1, 7.9f);
  AddReceiptDocument(2, -2.5f);
  model.dats[2].di = 40;  // a DAT without its MAC: not counted
  tables.positionKeys.Set(99, 99);
  MakeRenderer().BuildPositionTable();
  EXPECT_EQ(tables.positionKeys.Snapshot(), (std::map<int, int>{{0, 7}, {1, -2}}));
}

TEST_F(RenderWalk, ReceiptsOfTheRequestedRangeAreRenderedInOrder) {
  AddReceipts579();
  Render(kTypeReceipt, "5", "9");
  EXPECT_EQ(Shown(), (Lines{"R5", "R7", "R9"}));
}

TEST_F(RenderWalk, RangeBetweenNumbersStartsAtTheReceiptBeforeTheGap) {
  AddReceipts579();
  Render(kTypeReceipt, "6", "8");
  EXPECT_EQ(Shown(), (Lines{"R5", "R7"}));
}

TEST_F(RenderWalk, StartAfterEndRendersNothing) {
  AddReceipts579();
  Render(kTypeReceipt, "9", "5");
  EXPECT_TRUE(list.lines.empty());
}

TEST_F(RenderWalk, ExistingLinesOfTheListStay) {
  AddReceipts579();
  list.Add("kept");
  Render(kTypeReceipt, "5", "5");
  ASSERT_FALSE(list.lines.empty());
  EXPECT_EQ(list.lines.front(), "kept");
  EXPECT_EQ(Shown(), (Lines{"R5"}));
}

TEST_F(RenderWalk, NoDocumentsGiveExactlyTheNoDataLine) {
  Render(kTypeBoth, "1", "10");
  EXPECT_TRUE(SameLines(list.lines, {W("Запрашиваемые данные отсутствуют!")}));
}

TEST_F(RenderWalk, NumberFieldThatIsNoIntegerRaisesBeforeAnythingIsAppended) {
  AddReceipts579();
  EXPECT_THROW(Render(kTypeReceipt, "x", "9"), ConvertError);
  EXPECT_THROW(Render(kTypeReceipt, "5", ""), ConvertError);
  EXPECT_TRUE(list.lines.empty());
}

TEST_F(RenderWalk, NumberFieldThatIsNoIntegerRaisesEvenWithoutDocuments) {
  EXPECT_THROW(Render(kTypeReceipt, "1", "1.5"), ConvertError);
  EXPECT_TRUE(list.lines.empty());
}

// The "Z-отчет" type takes the number fields as Z-report numbers.
TEST_F(RenderWalk, ZReportTypeShowsTheZReportsNumberedWithinTheFields) {
  struct Case {
    const char *first, *last;
    Lines shown;
  };
  const Case cases[] = {
      {"87", "91", {"Z87", "Z91", "Z88", "Z89"}},
      {"87", "89", {"Z87", "Z88", "Z89"}},  // 91 stands between them and is left out
      {"80", "87", {"Z87"}},
      {"89", "100", {"Z91", "Z89"}},
      {"92", "100", {}},
      {"89", "87", {}},
  };
  AddReportsAroundZ91();
  for (const Case& c : cases) {
    list.Clear();
    Render(kTypeZReport, c.first, c.last);
    EXPECT_EQ(Shown(), c.shown) << c.first << " to " << c.last;
    EXPECT_EQ(list.lines.empty(), c.shown.empty());
  }
}

TEST_F(RenderWalk, ZReportsOfTheFieldsAreRecordedUnderTheirWalkIndex) {
  AddReportsAroundZ91();
  Render(kTypeZReport, "87", "89");
  // The walk index is the position here; the report left out is recorded nowhere.
  EXPECT_EQ(tables.zNumberByPosition.Snapshot(), (std::map<int, int>{{1, 87}, {4, 88}, {5, 89}}));
  EXPECT_EQ(tables.shownZNumbers.Snapshot(), (std::map<int, int>{{87, 1}, {88, 1}, {89, 1}}));
}

TEST_F(RenderWalk, ZReportNumberBeyondIntIsNeverWithinTheFields) {
  AddZReportDocument(87, 1);
  model.dats[0].zvits[0].no = 3e9f;
  AddZReportDocument(88, 2);
  Render(kTypeZReport, "1", "2147483647");
  EXPECT_EQ(Shown(), (Lines{"Z88"}));
}

TEST_F(RenderWalk, ZReportIsRecordedUnderItsWalkIndex) {
  AddReceiptDocument(5, 1);
  AddZReportDocument(1, 2);
  AddReceiptDocument(7, 3);
  Render(kTypeBoth, "5", "7");
  EXPECT_EQ(Shown(), (Lines{"R5", "Z1", "R7"}));
  EXPECT_EQ(tables.zNumberByPosition.Get(1), 1);
}

TEST_F(RenderWalk, ZReportTypeShowsNoReceipts) {
  AddReceiptDocument(5, 1);
  AddZReportDocument(1, 2);
  AddReceiptDocument(7, 3);
  Render(kTypeZReport, "1", "1");
  EXPECT_EQ(Shown(), (Lines{"Z1"}));
}

TEST_F(RenderWalk, ReceiptTypeShowsNoZReports) {
  AddReceiptDocument(5, 1);
  AddZReportDocument(1, 2);
  AddReceiptDocument(7, 3);
  Render(kTypeReceipt, "5", "7");
  EXPECT_EQ(Shown(), (Lines{"R5", "R7"}));
  EXPECT_FALSE(tables.shownZNumbers.IsFilled());
}

TEST_F(RenderWalk, CashTypeShowsOnlyServiceReceiptsInTheCashDocumentLayout) {
  AddReceiptDocument(5, 1, 0);
  AddZReportDocument(1, 2);
  AddReceiptDocument(7, 3, 2);
  AddReceiptDocument(9, 4, 1);
  Render(kTypeCash, "5", "9");
  EXPECT_EQ(Shown(), (Lines{"R7"}));
  EXPECT_NE(std::find(list.lines.begin(), list.lines.end(), W("            Каса01")),
            list.lines.end());
  EXPECT_EQ(std::find(list.lines.begin(), list.lines.end(), W("         Касир Каса01")),
            list.lines.end());
}

TEST_F(RenderWalk, TypedComboTextRendersNothing) {
  AddReceiptDocument(5, 1, 2);
  AddZReportDocument(1, 2);
  Render(-1, "1", "9");
  EXPECT_TRUE(list.lines.empty());
}

TEST_F(RenderWalk, DocumentWithoutItsMacIsNeverRendered) {
  AddReceipts579();
  model.doc_index = 2;  // receipt 9 stands at the count
  Render(kTypeReceipt, "1", "100");
  EXPECT_EQ(Shown(), (Lines{"R5", "R7"}));
}

TEST_F(RenderWalk, WalkFollowsAscendingDiFromTheStartPosition) {
  // Unordered positions, as a request by date leaves them.
  AddReceiptDocument(5, 10);
  AddReceiptDocument(7, 30);
  AddReceiptDocument(9, 20);
  Render(kTypeReceipt, "5", "9");
  EXPECT_EQ(Shown(), (Lines{"R5", "R9", "R7"}));
}

TEST_F(RenderWalk, FailingMiddleDocumentKeepsItsLinesAndTheOthersRenderInFull) {
  AddReceipts579();
  sale& bad = AddSale(model.dats[1].checks[0]);
  bad.nm = "Tea";
  bad.tx = "x";
  const Lines first = AloneAsReceipt(0), third = AloneAsReceipt(2);

  Render(kTypeReceipt, "5", "9");

  Lines expected = first;
  const Lines header = {W("          ДП \"Компанія VERNO\""), W("                м.Київ"),
                        W("     ЗН ЖЛ00001234  ФН 3000012345"), W("         Касир Каса01"),
                        "  --------------------------------------"};
  expected.insert(expected.end(), header.begin(), header.end());
  expected.insert(expected.end(), third.begin(), third.end());
  EXPECT_TRUE(SameLines(list.lines, expected));
  EXPECT_EQ(ReadFile(ErrorLogPath()), "'x' is not a valid integer value\r\n");
}

// Lines handed on after each document, whether taken all, in part or not at all, add up to the
// list a rendering without the hand-over makes, and the documents keep their first lines.
TEST_F(RenderWalk, LinesHandedOnAfterEachDocumentAddUpToTheWholeList) {
  AddReceipts579();
  AddSale(model.dats[1].checks[0]).tx = "x";  // a failing document in the middle
  Render(kTypeReceipt, "5", "9");
  const Lines whole = list.lines;
  const std::vector<RenderedDocument> documents = MakeRenderer().Rendered();
  Renderer plain = MakeRenderer();
  ListBox plainList;
  plain.RenderDocuments(plainList, kTypeReceipt, "5", "9");
  ASSERT_EQ(plain.Rendered().size(), 3u);

  for (const std::size_t keep : {0u, 1u, 1000u}) {  // lines each hand-over leaves in the list
    Renderer renderer = MakeRenderer();
    ListBox handed;
    Lines taken;
    int calls = 0;
    renderer.HandLinesTo([&](LineList& lines) {
      ++calls;
      const std::size_t take = lines.size() - std::min(keep, lines.size());
      taken.insert(taken.end(), lines.begin(), lines.begin() + static_cast<long>(take));
      lines.erase(lines.begin(), lines.begin() + static_cast<long>(take));
    });
    renderer.RenderDocuments(handed, kTypeReceipt, "5", "9");
    taken.insert(taken.end(), handed.lines.begin(), handed.lines.end());
    EXPECT_EQ(calls, 3) << keep;
    EXPECT_TRUE(SameLines(taken, whole)) << keep;
    ASSERT_EQ(renderer.Rendered().size(), plain.Rendered().size()) << keep;
    for (std::size_t i = 0; i < plain.Rendered().size(); ++i) {
      EXPECT_EQ(renderer.Rendered()[i].position, plain.Rendered()[i].position) << keep;
      EXPECT_EQ(renderer.Rendered()[i].firstLine, plain.Rendered()[i].firstLine) << keep;
      EXPECT_EQ(renderer.Rendered()[i].failed, plain.Rendered()[i].failed) << keep;
    }
  }
  EXPECT_TRUE(plain.Rendered()[1].failed);
}

TEST_F(RenderWalk, TwoFailuresLeaveOnlyTheSecondMessageInTheLog) {
  AddReceipts579();
  AddSale(model.dats[1].checks[0]).tx = "x";
  AddSale(model.dats[2].checks[0]).tx = "y";
  Render(kTypeReceipt, "5", "9");
  EXPECT_EQ(ReadFile(ErrorLogPath()), "'y' is not a valid integer value\r\n");
}

TEST_F(RenderWalk, FailureReplacesAnOlderLog) {
  WriteFile(ErrorLogPath(), "an older and much longer message\r\nwith two lines\r\n");
  AddReceipts579();
  AddSale(model.dats[0].checks[0]).tx = "";
  Render(kTypeReceipt, "5", "9");
  EXPECT_EQ(ReadFile(ErrorLogPath()), "'' is not a valid integer value\r\n");
}

TEST_F(RenderWalk, RenderingWithoutFailureLeavesAnExistingLogUntouched) {
  WriteFile(ErrorLogPath(), "earlier failure\r\n");
  AddReceipts579();
  Render(kTypeReceipt, "5", "9");
  EXPECT_EQ(Shown(), (Lines{"R5", "R7", "R9"}));
  EXPECT_EQ(ReadFile(ErrorLogPath()), "earlier failure\r\n");
}

TEST_F(RenderWalk, RenderingWithoutFailureCreatesNoLog) {
  AddReceipts579();
  Render(kTypeReceipt, "5", "9");
  EXPECT_FALSE(FileExists(ErrorLogPath()));
}

TEST_F(RenderWalk, LogThatCannotBeOpenedIsPassedOverInSilence) {
  AddReceipts579();
  AddSale(model.dats[1].checks[0]).tx = "x";
  const std::string unreachable = dir.File("missing/error.log");
  ListBox shown;
  EXPECT_NO_THROW(
      Renderer(model, tables, unreachable).RenderDocuments(shown, kTypeReceipt, "5", "9"));
  EXPECT_FALSE(FileExists(unreachable));
  list = shown;
  EXPECT_EQ(Shown(), (Lines{"R5", "R9"}));
}

// A MAC without its DAT leaves a position with no document. The walk shows nothing there and makes
// up no empty document, which the next ordering would otherwise sort in front of the real ones.
TEST_F(RenderWalk, PositionWithoutADocumentShowsNothingAndStaysEmpty) {
  AddReceiptDocument(5, 1);
  ++model.doc_index;  // the MAC without its DAT
  AddReceiptDocument(9, 3);

  Render(kTypeBoth, "1", "100");
  EXPECT_EQ(Shown(), (Lines{"R5", "R9"}));
  EXPECT_EQ(model.dats.count(1), 0u);

  OrderDocuments(model);
  EXPECT_EQ(model.dats.at(0).checks.at(0).end.no, 5.0f);
}

}  // namespace
}  // namespace morvek::test
