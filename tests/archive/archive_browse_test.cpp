// The archive as the archive window reads it, the same on every backend: pages in time order with
// every filter, totals and daily sums of the whole filtered set, the documents around a shift, and
// the shift check of the documents shown.
#include <gtest/gtest.h>

// Records and queries name only the fields a test sets; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "archive/archive.h"
#include "archive/archive_backends.h"
#include "archive/archive_documents.h"
#include "archive/shift_marks.h"
#include "sim/journal_generator.h"

namespace morvek::test {
namespace {

// A document named as the tests name it: "A3" is DI 3 of register A.
std::string Named(const FoundDocument& d) {
  return (d.fiscalNumber == kFiscalA ? "A" : "B") + std::to_string(d.di);
}

std::vector<std::string> Names(const std::vector<FoundDocument>& documents) {
  std::vector<std::string> names;
  for (const FoundDocument& d : documents) names.push_back(Named(d));
  return names;
}

class ArchiveBrowseTest : public ::testing::TestWithParam<ArchiveBackend> {
 protected:
  void SetUp() override {
    location = GetParam().freshLocation(dir);
    if (location.empty()) GTEST_SKIP() << GetParam().name << " is not at hand";
    archive = OpenArchive(location);
  }

  // Two registers over three days: receipts of every kind, a Z-report, a receipt without a time.
  void StoreTwoRegisters() {
    archive->Store(
        {
            Receipt({.di = 1, .number = 1, .timestamp = "2016-03-05 09:00:00", .total = 100}),
            Receipt({.di = 2, .number = 2, .timestamp = "2016-03-05 09:10:00", .total = 200}),
            Receipt({.di = 3, .number = 3, .timestamp = "2016-03-05 09:20:00", .total = 300}),
            Receipt({.di = 4,
                     .number = 4,
                     .timestamp = "2016-03-05 09:30:00",
                     .total = 50,
                     .kind = DocumentKind::kReturn}),
            ZReport(kFiscalA, 5, 1, "2016-03-05 23:00:00", 600),
            Receipt({.di = 6, .number = 5, .timestamp = "2016-03-06 09:00:00", .total = 1000}),
            Receipt({.di = 7,
                     .number = 6,
                     .timestamp = "2016-03-06 12:00:00",
                     .total = 2000,
                     .item = "Молоко"}),
            Receipt({.di = 8, .number = 7, .timestamp = "", .total = 5}),
        },
        Arrival::kImported);
    archive->Store(
        {
            Receipt({.fiscal = kFiscalB,
                     .di = 1,
                     .number = 1,
                     .timestamp = "2016-03-05 10:00:00",
                     .total = 700}),
            Receipt({.fiscal = kFiscalB,
                     .di = 2,
                     .number = 2,
                     .timestamp = "2016-03-06 09:00:00",
                     .total = 0,
                     .kind = DocumentKind::kService}),
            Receipt({.fiscal = kFiscalB,
                     .di = 3,
                     .number = 3,
                     .timestamp = "2016-03-07 08:00:00",
                     .total = 900,
                     .kind = DocumentKind::kCancelled}),
        },
        Arrival::kImported);
  }

  // Every page of `rows` documents, one after the other.
  std::vector<std::string> PageByPage(const FindQuery& query, int rows) {
    std::vector<std::string> names;
    std::optional<FoundDocument> after;
    for (int pages = 0; pages < 100; ++pages) {
      const std::vector<FoundDocument> page = archive->Page(query, after, rows);
      for (const FoundDocument& d : page) names.push_back(Named(d));
      if (static_cast<int>(page.size()) < rows) break;
      after = page.back();
    }
    return names;
  }

  TempDir dir;
  std::string location;
  std::unique_ptr<Archive> archive;
};

struct BrowseCase {
  const char* name;
  FindQuery query;
  std::vector<std::string> page;
  DocumentTotals totals;
};

// Sales are the totals of sale receipts, returns those of return receipts; service and cancelled
// receipts and Z-reports count as documents only. A period leaves out documents without a time.
const BrowseCase kBrowseCases[] = {
    {"everything",
     {},
     {"A8", "A1", "A2", "A3", "A4", "B1", "A5", "A6", "B2", "A7", "B3"},
     {11, 4305, 50}},
    {"oneRegister", {.registerKey = kFiscalB}, {"B1", "B2", "B3"}, {3, 700, 0}},
    {"twoDays",
     {.from = "2016-03-06 00:00:00", .to = "2016-03-07 23:59:59"},
     {"A6", "B2", "A7", "B3"},
     {4, 3000, 0}},
    {"fromADay", {.from = "2016-03-07 00:00:00"}, {"B3"}, {1, 0, 0}},
    {"upToADay",
     {.to = "2016-03-05 23:59:59"},
     {"A1", "A2", "A3", "A4", "B1", "A5"},
     {6, 1300, 50}},
    {"withinADay",
     {.from = "2016-03-05 09:05:00", .to = "2016-03-05 09:25:00"},
     {"A2", "A3"},
     {2, 500, 0}},
    {"returns", {.kinds = {DocumentKind::kReturn}}, {"A4"}, {1, 0, 50}},
    {"zReports", {.kinds = {DocumentKind::kZReport}}, {"A5"}, {1, 0, 0}},
    {"numbers",
     {.numberFrom = 2, .numberTo = 5},
     {"A2", "A3", "A4", "A6", "B2", "B3"},
     {6, 1500, 50}},
    {"text", {.text = "молоко"}, {"A7"}, {1, 2000, 0}},
    {"registerDayAndKind",
     {.registerKey = kFiscalA,
      .from = "2016-03-05 00:00:00",
      .to = "2016-03-05 23:59:59",
      .kinds = {DocumentKind::kReceipt}},
     {"A1", "A2", "A3"},
     {3, 600, 0}},
    {"unknownRegister", {.registerKey = "9999999999"}, {}, {0, 0, 0}},
};

TEST_P(ArchiveBrowseTest, APageAndItsTotalsAreThoseOfTheFilter) {
  StoreTwoRegisters();
  for (const BrowseCase& c : kBrowseCases) {
    EXPECT_EQ(Names(archive->Page(c.query, std::nullopt, 100)), c.page) << c.name;
    EXPECT_EQ(archive->Totals(c.query), c.totals) << c.name;
  }
}

TEST_P(ArchiveBrowseTest, PagesFollowEachOtherWithoutGapOrRepeat) {
  StoreTwoRegisters();
  for (const BrowseCase& c : kBrowseCases)
    for (const int rows : {1, 2, 4})
      EXPECT_EQ(PageByPage(c.query, rows), c.page) << c.name << " by " << rows;
}

TEST_P(ArchiveBrowseTest, DailySumsAreKeptPerRegisterAndDay) {
  StoreTwoRegisters();
  const std::vector<DailyTotals> all = {
      {kFiscalA, "", 5, 0},
      {kFiscalA, "2016-03-05", 600, 50},
      {kFiscalA, "2016-03-06", 3000, 0},
      {kFiscalB, "2016-03-05", 700, 0},
      {kFiscalB, "2016-03-06", 0, 0},
      {kFiscalB, "2016-03-07", 0, 0},
  };
  EXPECT_EQ(archive->Daily({}), all);
  // Read from the documents when the filter asks for more than the daily sums know.
  EXPECT_EQ(archive->Daily({.text = "молоко"}),
            (std::vector<DailyTotals>{{kFiscalA, "2016-03-06", 2000, 0}}));
  EXPECT_EQ(
      archive->Daily({.registerKey = kFiscalB, .from = "2016-03-06 00:00:00"}),
      (std::vector<DailyTotals>{{kFiscalB, "2016-03-06", 0, 0}, {kFiscalB, "2016-03-07", 0, 0}}));
}

TEST_P(ArchiveBrowseTest, DocumentsStoredAgainAreNotCountedTwice) {
  StoreTwoRegisters();
  StoreTwoRegisters();
  archive->Store({Receipt({.di = 9, .number = 8, .timestamp = "2016-03-06 13:00:00", .total = 1})},
                 Arrival::kCollected);
  EXPECT_EQ(archive->Totals({}), (DocumentTotals{12, 4306, 50}));
  EXPECT_EQ(archive->Totals({.registerKey = kFiscalA, .from = "2016-03-06 00:00:00"}),
            (DocumentTotals{3, 3001, 0}));
}

TEST_P(ArchiveBrowseTest, TheNearestDocumentsOfAKindAreFoundOnEitherSide) {
  StoreTwoRegisters();
  const auto nearest = [&](long long di, Side side, bool z) {
    const std::optional<FoundDocument> found = archive->Nearest(kFiscalA, di, side, z);
    return found ? Named(*found) : "none";
  };
  EXPECT_EQ(nearest(7, Side::kBefore, true), "A5");
  EXPECT_EQ(nearest(5, Side::kBefore, true), "none");
  EXPECT_EQ(nearest(1, Side::kAfter, true), "A5");
  EXPECT_EQ(nearest(5, Side::kAfter, true), "none");
  EXPECT_EQ(nearest(5, Side::kBefore, false), "A4");
  EXPECT_EQ(nearest(5, Side::kAfter, false), "A6");
  std::vector<std::string> between;
  archive->ForEachDocumentBetween(kFiscalA, 4, 6, [&](const StoredDocument& stored) {
    between.push_back(Named(stored.found));
    EXPECT_FALSE(stored.xml.empty());
  });
  EXPECT_EQ(between, (std::vector<std::string>{"A4", "A5", "A6"}));
}

// A generated tape of four shifts and an open one, on its way into the archive: a receipt of the
// second shift lost, and the third shift's Z-report counting one sale receipt more than it had.
struct CheckedTape {
  std::vector<DocumentRecord> records;
  long long lostNumber = 0;
};

CheckedTape TapeWithFaults() {
  CheckedTape tape;
  int zReports = 0;
  bool lost = false;
  const GeneratedJournal journal = GenerateJournal({200, 4, 41});
  for (const std::string_view slice : SliceDocuments(journal.xml)) {
    std::string xml(slice);
    const DocumentRecord read = ReadDocument(xml);
    if (read.kind == DocumentKind::kZReport) ++zReports;
    if (zReports == 1 && read.kind == DocumentKind::kReceipt && !lost && read.number > 60) {
      lost = true;
      tape.lostNumber = read.number;
      continue;
    }
    if (read.kind == DocumentKind::kZReport && read.number == 3) {
      const std::size_t value = xml.find("NI=\"", xml.find("<NC ")) + 4;
      const std::size_t end = xml.find('"', value);
      xml.replace(value, end - value,
                  std::to_string(std::stoll(xml.substr(value, end - value)) + 1));
    }
    tape.records.push_back(ReadDocument(xml));
  }
  return tape;
}

TEST_P(ArchiveBrowseTest, TheShownDocumentsCarryTheirShiftsCheck) {
  const CheckedTape tape = TapeWithFaults();
  archive->Store(tape.records, Arrival::kImported);
  // Shown in pages of 37, as a window scrolls: each shift is read whole all the same.
  const std::vector<FoundDocument> all = archive->Find({});
  ShiftMarks marks(*archive);
  std::vector<DocumentCheck> checks;
  for (std::size_t at = 0; at < all.size(); at += 37) {
    const std::vector<FoundDocument> page(
        all.begin() + static_cast<long>(at),
        all.begin() + static_cast<long>(std::min(at + 37, all.size())));
    for (DocumentCheck& check : marks.Check(page)) checks.push_back(std::move(check));
  }
  ASSERT_EQ(checks.size(), all.size());

  // By the Z-report that closes a document's shift (0: none yet).
  const std::map<long long, ShiftState> expected = {{1, ShiftState::kConsistent},
                                                    {2, ShiftState::kIncomplete},
                                                    {3, ShiftState::kDiffers},
                                                    {4, ShiftState::kConsistent}};
  long long closing = 1, gaps = 0;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const DocumentCheck& check = checks[i];
    const std::string at = "DI " + std::to_string(all[i].di);
    if (closing > 4) {
      EXPECT_FALSE(check.shift) << at;
    } else {
      ASSERT_TRUE(check.shift) << at;
      EXPECT_EQ(check.shift->zNumber, closing) << at;
      EXPECT_EQ(check.shift->state, expected.at(closing)) << at;
    }
    if (check.gapBefore) {
      ++gaps;
      EXPECT_EQ(all[i].number, tape.lostNumber + 1) << at;
      EXPECT_EQ(*check.gapBefore, (NumberRun{tape.lostNumber, tape.lostNumber})) << at;
    }
    if (all[i].kind == DocumentKind::kZReport) ++closing;
  }
  EXPECT_EQ(gaps, 1);
}

INSTANTIATE_TEST_SUITE_P(Backends, ArchiveBrowseTest, ::testing::ValuesIn(ArchiveBackends()),
                         [](const auto& backend) { return backend.param.name; });

}  // namespace
}  // namespace morvek::test
