// Shift checks: generated journals (whose Z-reports match their receipts) check clean, and what is
// changed or taken out of them is found; the figure rules on shifts built by hand.
#include "archive/shift_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "sim/journal_generator.h"

namespace morvek {
namespace {

std::vector<DocumentRecord> Generated(const JournalOptions& options) {
  std::vector<DocumentRecord> records;
  const GeneratedJournal journal = GenerateJournal(options);
  for (const std::string_view document : SliceDocuments(journal.xml))
    records.push_back(ReadDocument(document));
  return records;
}

// The position of the Z-report of that number.
std::size_t ZAt(const std::vector<DocumentRecord>& records, long long number) {
  for (std::size_t i = 0; i < records.size(); ++i)
    if (records[i].kind == DocumentKind::kZReport && records[i].number == number) return i;
  throw std::logic_error("no Z-report " + std::to_string(number));
}

// The first document of that kind after position `from`.
std::size_t KindAfter(const std::vector<DocumentRecord>& records, std::size_t from,
                      DocumentKind kind) {
  for (std::size_t i = from + 1; i < records.size(); ++i)
    if (records[i].kind == kind) return i;
  throw std::logic_error("no such document");
}

const ShiftCheck& ShiftOf(const ShiftCheckReport& report, long long zNumber) {
  for (const ShiftCheck& shift : report.shifts)
    if (shift.zNumber == zNumber) return shift;
  throw std::logic_error("no shift " + std::to_string(zNumber));
}

TEST(GeneratedJournals, CheckCleanWithEveryShiftChecked) {
  struct Case {
    int receipts, zReports;
    std::uint64_t seed;
  };
  for (const Case c : {Case{5000, 40, 7}, Case{3000, 12, 2024}, Case{200, 1, 3}, Case{50, 9, 11}}) {
    SCOPED_TRACE(c.seed);
    const GeneratedJournal journal = GenerateJournal({c.receipts, c.zReports, c.seed});
    ASSERT_GT(journal.returnReceipts + journal.cancelledReceipts, 0);
    std::vector<DocumentRecord> records;
    for (const std::string_view document : SliceDocuments(journal.xml))
      records.push_back(ReadDocument(document));

    const ShiftCheckReport report = CheckShifts(records);
    EXPECT_TRUE(report.Consistent());
    ASSERT_EQ(report.shifts.size(), static_cast<std::size_t>(c.zReports));
    EXPECT_EQ(report.ShiftsIn(ShiftState::kConsistent), c.zReports);
  }
}

TEST(GeneratedJournals, ChangedPaymentIsFoundWithBothFigures) {
  std::vector<DocumentRecord> records = Generated({600, 5, 21});
  PaymentLine& paid =
      records[KindAfter(records, ZAt(records, 2), DocumentKind::kReceipt)].payments[0];
  paid.sum += 1234;
  long long zFigure = 0;
  for (const ZPaymentTotal& total : records[ZAt(records, 3)].zPayments)
    if (total.form == paid.form) zFigure = total.sales;

  const ShiftCheckReport report = CheckShifts(records);
  EXPECT_FALSE(report.Consistent());
  const ShiftCheck& shift = ShiftOf(report, 3);
  EXPECT_EQ(shift.state, ShiftState::kDiffers);
  ASSERT_EQ(shift.differences.size(), 1u);
  EXPECT_EQ(shift.differences[0].key, (FigureKey{ShiftFigure::kSalesPayments, "", paid.form}));
  EXPECT_EQ(shift.differences[0].zReport, zFigure);
  EXPECT_EQ(shift.differences[0].receipts, zFigure + 1234);
  EXPECT_EQ(report.ShiftsIn(ShiftState::kConsistent), 4);
}

TEST(GeneratedJournals, ChangedTaxTotalIsFoundWithBothFigures) {
  std::vector<DocumentRecord> records = Generated({600, 5, 22});
  ZTaxTotal& total = records[ZAt(records, 4)].zTaxes[1];
  const long long received = total.returnsTax;
  total.returnsTax += 5;

  const ShiftCheckReport report = CheckShifts(records);
  const ShiftCheck& shift = ShiftOf(report, 4);
  ASSERT_EQ(shift.differences.size(), 1u);
  EXPECT_EQ(shift.differences[0].key, (FigureKey{ShiftFigure::kReturnsTax, total.letter, 0}));
  EXPECT_EQ(shift.differences[0].zReport, received + 5);
  EXPECT_EQ(shift.differences[0].receipts, received);
}

TEST(GeneratedJournals, RemovedReceiptIsAGapAndLeavesItsShiftIncomplete) {
  std::vector<DocumentRecord> records = Generated({600, 5, 23});
  const std::size_t at = KindAfter(records, ZAt(records, 1) + 3, DocumentKind::kReceipt);
  const long long di = records[at].di, number = records[at].number;
  records.erase(records.begin() + static_cast<long>(at));

  const ShiftCheckReport report = CheckShifts(records);
  EXPECT_EQ(report.receiptGaps, (std::vector<NumberRun>{{number, number}}));
  EXPECT_TRUE(report.zGaps.empty());
  const ShiftCheck& shift = ShiftOf(report, 2);
  EXPECT_EQ(shift.state, ShiftState::kIncomplete);
  EXPECT_EQ(shift.missingDis, (std::vector<NumberRun>{{di, di}}));
  EXPECT_EQ(shift.missingReceipts, (std::vector<NumberRun>{{number, number}}));
  EXPECT_TRUE(shift.differences.empty());
  EXPECT_EQ(report.ShiftsIn(ShiftState::kConsistent), 4);
}

TEST(GeneratedJournals, ShiftWhoseOpeningZReportIsAbsentIsNotCheckable) {
  // A tape read from Z-report 7 on: its first shift began before anything the archive holds.
  const ShiftCheckReport fromMidway = CheckShifts(Generated({400, 4, 24, 301, 7, 1000}));
  EXPECT_EQ(ShiftOf(fromMidway, 7).state, ShiftState::kWithoutOpening);
  EXPECT_EQ(fromMidway.ShiftsIn(ShiftState::kConsistent), 3);
  EXPECT_TRUE(fromMidway.Consistent());

  // A Z-report taken out: its own shift is gone, the next one cannot be checked.
  std::vector<DocumentRecord> records = Generated({400, 4, 25});
  records.erase(records.begin() + static_cast<long>(ZAt(records, 2)));
  const ShiftCheckReport report = CheckShifts(records);
  EXPECT_EQ(report.zGaps, (std::vector<NumberRun>{{2, 2}}));
  EXPECT_EQ(ShiftOf(report, 3).state, ShiftState::kWithoutOpening);
  EXPECT_EQ(report.shifts.size(), 3u);
  EXPECT_EQ(report.ShiftsIn(ShiftState::kConsistent), 2);
}

TEST(GeneratedJournals, DateLimitsChooseShiftsByTheirZReport) {
  const std::vector<DocumentRecord> records = Generated({300, 5, 26});
  const std::string day3 = records[ZAt(records, 3)].timestamp.substr(0, 10);
  const ShiftCheckReport report = CheckShifts(records, {day3, day3});
  ASSERT_EQ(report.shifts.size(), 1u);
  EXPECT_EQ(report.shifts[0].zNumber, 3);
  EXPECT_EQ(report.shifts[0].state, ShiftState::kConsistent);
}

// A shift built by hand: the figure rules one at a time.
struct Shift {
  std::vector<DocumentRecord> documents;
  long long di = 1, number = 1;

  DocumentRecord& Add(DocumentKind kind) {
    DocumentRecord& document = documents.emplace_back();
    document.di = di++;
    document.kind = kind;
    document.number = kind == DocumentKind::kZReport ? 1 : number++;
    document.timestamp = "2024-03-05 10:00:00";
    return document;
  }
  // A receipt of one item of letter "1" paid in cash, its tax in its end record.
  DocumentRecord& Sale(DocumentKind kind, long long sum) {
    DocumentRecord& receipt = Add(kind);
    receipt.items.push_back({1, false, "", "bread", "1", sum, 1000, sum});
    receipt.payments.push_back({2, 0, "cash", "", sum, 0});
    receipt.taxes.push_back({"1", "20", sum / 6, 0});
    return receipt;
  }
  // The Z-report of what Sale and Add made, as a consistent register would print it.
  DocumentRecord& Z(int sales, int returns, long long sold, long long returned) {
    DocumentRecord& z = Add(DocumentKind::kZReport);
    z.salesCount = sales, z.returnsCount = returns;
    z.zTaxes.push_back({"1", "20", sold, returned, sold / 6, returned / 6, 0, 0});
    z.zPayments.push_back({0, "cash", sold, returned});
    return z;
  }
  std::vector<ShiftDifference> Differences() const {
    const ShiftCheckReport report = CheckShifts(documents);
    return report.shifts.at(0).differences;
  }
};

TEST(ShiftFigures, ReturnsCancelledAndServiceReceiptsCountWhereTheyBelong) {
  Shift shift;
  shift.Add(DocumentKind::kService).cash.push_back({1, false, 0, "cash", 50000});
  shift.Sale(DocumentKind::kReceipt, 1200);
  shift.Sale(DocumentKind::kCancelled, 9900);
  shift.Sale(DocumentKind::kReturn, 600);
  shift.Add(DocumentKind::kService).cash.push_back({1, true, 0, "cash", 20000});
  DocumentRecord& z = shift.Z(1, 1, 1200, 600);
  z.zCash.push_back({0, "cash", 50000, 20000, 30600});
  EXPECT_TRUE(shift.Differences().empty());

  z.returnsCount = 2;
  z.zCash[0].out = 19000;
  const std::vector<ShiftDifference> found = shift.Differences();
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].key.figure, ShiftFigure::kReturnReceipts);
  EXPECT_EQ(found[0].zReport, 2);
  EXPECT_EQ(found[0].receipts, 1);
  EXPECT_EQ(found[1].key, (FigureKey{ShiftFigure::kCashOut, "", 0}));
  EXPECT_EQ(found[1].receipts, 20000);
}

TEST(ShiftFigures, TurnoverPerLetterFollowsVoidsDiscountsAndSurcharges) {
  struct Case {
    const char* what;
    std::vector<ItemLine> items;
    std::vector<VoidLine> voids;
    std::vector<AdjustmentLine> adjustments;
    long long letter1, letter2;  // the turnover the Z-report must show
  };
  const std::vector<Case> cases = {
      {"goods", {{1, false, "", "a", "1", 1000}, {2, true, "", "b", "2", 300}}, {}, {}, 1000, 300},
      {"an item taken back",
       {{1, false, "", "a", "1", 1000}, {2, false, "", "b", "2", 300}},
       {{3, 2}},
       {},
       1000,
       0},
      {"the same item taken back twice",
       {{1, false, "", "a", "2", 700}, {2, false, "", "b", "1", 50}},
       {{3, 1}, {4, 1}},
       {},
       50,
       0},
      {"a discount and a surcharge of a letter",
       {{1, false, "", "a", "1", 1000}, {2, false, "", "b", "2", 300}},
       {},
       {{3, false, "2", 30}, {4, true, "1", 10}},
       1010,
       270},
      {"a subtotal discount falls to the lowest letter kept",
       {{1, false, "", "a", "1", 1000}, {2, false, "", "b", "2", 300}},
       {{3, 1}},
       {{4, false, "", 20}},
       0,
       280},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Shift shift;
    DocumentRecord& receipt = shift.Add(DocumentKind::kReceipt);
    receipt.items = c.items;
    receipt.voids = c.voids;
    receipt.adjustments = c.adjustments;
    DocumentRecord& z = shift.Add(DocumentKind::kZReport);
    z.salesCount = 1;
    z.zTaxes = {{"1", "20", c.letter1}, {"2", "7", c.letter2}};
    EXPECT_TRUE(shift.Differences().empty());
    z.zTaxes[1].sales += 1;
    const std::vector<ShiftDifference> found = shift.Differences();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].key, (FigureKey{ShiftFigure::kSalesTurnover, "2", 0}));
    EXPECT_EQ(found[0].receipts, c.letter2);
  }
}

TEST(ShiftFigures, PaymentsCountWithoutTheirChange) {
  Shift shift;
  shift.Sale(DocumentKind::kReceipt, 1250).payments[0] = {2, 0, "cash", "", 2000, 750};
  shift.Z(1, 0, 1250, 0);
  EXPECT_TRUE(shift.Differences().empty());
}

TEST(ShiftChecks, UnreadableDocumentLeavesItsShiftUncheckedAndIsReported) {
  Shift shift;
  shift.Sale(DocumentKind::kReceipt, 1200);
  shift.Sale(DocumentKind::kReceipt, 800);
  shift.Z(2, 0, 2000, 0);
  ShiftChecker checker;
  checker.Add(shift.documents[0]);
  checker.AddUnreadable(shift.documents[1], "not well-formed");
  checker.Add(shift.documents[2]);
  const ShiftCheckReport report = checker.Finish();
  EXPECT_EQ(report.shifts.at(0).state, ShiftState::kUnreadable);
  EXPECT_EQ(report.shifts.at(0).unreadableDis, std::vector<long long>{2});
  ASSERT_EQ(report.unreadable.size(), 1u);
  EXPECT_EQ(report.unreadable[0].reason, "not well-formed");
  EXPECT_FALSE(report.Consistent());
}

TEST(ShiftChecks, DocumentsOutOfDiOrderAreRefused) {
  Shift shift;
  shift.Sale(DocumentKind::kReceipt, 1200);
  shift.Sale(DocumentKind::kReceipt, 800);
  ShiftChecker checker;
  checker.Add(shift.documents[1]);
  EXPECT_THROW(checker.Add(shift.documents[0]), std::invalid_argument);
}

}  // namespace
}  // namespace morvek
