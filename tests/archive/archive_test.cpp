// The archive's behaviour through its interface, the same on every backend: documents kept once
// and whole, money and texts exactly as given, and found, shown and counted for the collector.
#include <gtest/gtest.h>

// Records and queries name only the fields a test sets; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "archive/archive.h"
#include "archive/archive_backends.h"
#include "archive/archive_documents.h"

namespace morvek::test {
namespace {

class ArchiveTest : public ::testing::TestWithParam<ArchiveBackend> {
 protected:
  void SetUp() override {
    location = GetParam().freshLocation(dir);
    if (location.empty()) GTEST_SKIP() << GetParam().name << " is not at hand";
    archive = OpenArchive(location);
  }

  std::vector<long long> FoundDis(const FindQuery& query) {
    std::vector<long long> dis;
    for (const FoundDocument& found : archive->Find(query)) dis.push_back(found.di);
    return dis;
  }
  std::vector<long long> AllDis() { return FoundDis({}); }

  TempDir dir;
  std::string location;
  std::unique_ptr<Archive> archive;
};

TEST_P(ArchiveTest, StoringADocumentAgainCountsItHeldAndChangesNothing) {
  const std::vector<DocumentRecord> batch = {Receipt({.di = 1, .number = 1}),
                                             Receipt({.di = 2, .number = 2})};
  const StoreReport first = archive->Store(batch, Arrival::kImported);
  EXPECT_EQ(first.stored, 2);
  EXPECT_EQ(first.held, 0);

  // The same DI with other contents: the archive keeps what it had.
  const std::vector<DocumentRecord> again = {Receipt({.di = 2, .number = 99, .total = 1}),
                                             Receipt({.di = 3, .number = 3})};
  const StoreReport second = archive->Store(again, Arrival::kCollected);
  EXPECT_EQ(second.stored, 1);
  EXPECT_EQ(second.held, 1);
  const std::vector<FoundDocument> found = archive->Find({});
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[1].number, 2);
  EXPECT_EQ(found[1].total, 1250);
}

TEST_P(ArchiveTest, ADocumentTwiceInOneBatchIsStoredOnce) {
  const StoreReport report =
      archive->Store({Receipt({.di = 7}), Receipt({.di = 7})}, Arrival::kFetched);
  EXPECT_EQ(report.stored, 1);
  EXPECT_EQ(report.held, 1);
}

TEST_P(ArchiveTest, TheSameDiOfTwoRegistersIsTwoDocuments) {
  const StoreReport report = archive->Store(
      {Receipt({.fiscal = kFiscalA, .di = 5}), Receipt({.fiscal = kFiscalB, .di = 5})},
      Arrival::kImported);
  EXPECT_EQ(report.stored, 2);
}

TEST_P(ArchiveTest, ABatchThatFailsLeavesNothingOfIt) {
  archive->Store({Receipt({.di = 1})}, Arrival::kImported);
  DocumentRecord nameless = Receipt({.fiscal = kFiscalB, .di = 3});
  nameless.fiscalNumber.clear();
  // The failing document stands after others of the batch, one of them of a register new to the
  // archive.
  EXPECT_THROW(
      archive->Store({Receipt({.di = 2}), Receipt({.fiscal = kFiscalB, .di = 9}), nameless},
                     Arrival::kImported),
      ArchiveError);
  EXPECT_EQ(AllDis(), (std::vector<long long>{1}));
  EXPECT_FALSE(archive->FindRegister(kFiscalB));

  // The archive goes on: the same documents without the failing one are taken.
  const StoreReport report = archive->Store(
      {Receipt({.di = 2}), Receipt({.fiscal = kFiscalB, .di = 9})}, Arrival::kImported);
  EXPECT_EQ(report.stored, 2);
}

TEST_P(ArchiveTest, MoneyPastWhatAFloatHoldsIsKeptToTheKopeck) {
  // 167,772.17 is the first sum a float rounds; the others go past a double's exact integers.
  const std::vector<long long> sums = {16'777'217, 9'007'199'254'740'993, 123'456'789'012'345'678};
  long long di = 1;
  for (const long long sum : sums)
    archive->Store({Receipt({.di = di, .number = di, .total = sum})}, Arrival::kImported), ++di;
  for (const long long sum : sums) {
    const std::vector<FoundDocument> found = archive->Find({.amount = sum});
    ASSERT_EQ(found.size(), 1u) << sum;
    EXPECT_EQ(found[0].total, sum);
  }
}

TEST_P(ArchiveTest, TextsComeBackAsTheyWereGivenWhateverTheyHold) {
  const std::vector<std::string> names = {
      "Сік 'Садочок'; 0,95 л", "Батон \"Київський\"", "x'); DROP TABLE documents; --",
      "Robert'); DELETE FROM registers WHERE ('1'='1", "ЇЖАК ґава Є"};
  long long di = 1;
  for (const std::string& name : names)
    archive->Store({Receipt({.di = di, .number = di, .item = name})}, Arrival::kImported), ++di;
  RegisterRecord shop{.name = "Крамниця \"Ромашка\"; '--", .fiscalNumber = kFiscalA};
  archive->NoteRegister(shop);

  ASSERT_EQ(AllDis().size(), names.size());
  ASSERT_TRUE(archive->FindRegister(shop.name));
  EXPECT_EQ(archive->FindRegister(shop.name)->name, shop.name);
  for (std::size_t i = 0; i < names.size(); ++i) {
    const auto stored = archive->Show(shop.name, false, static_cast<long long>(i + 1));
    ASSERT_TRUE(stored) << names[i];
    EXPECT_EQ(stored->xml, ReceiptXml(kFiscalA, static_cast<long long>(i + 1),
                                      static_cast<long long>(i + 1), names[i], 1250));
    EXPECT_EQ(FoundDis({.text = names[i]}), (std::vector<long long>{static_cast<long long>(i + 1)}))
        << names[i];
  }
}

// Two registers, receipts of every kind, Z-reports, over three days.
class ArchiveFindTest : public ArchiveTest {
 protected:
  void SetUp() override {
    ArchiveTest::SetUp();
    if (IsSkipped()) return;
    archive->NoteRegister({.name = "Каса 1", .fiscalNumber = kFiscalA});
    archive->Store(
        {
            Receipt({.di = 10,
                     .number = 1,
                     .timestamp = "2016-03-04 09:00:00",
                     .total = 1250,
                     .item = "Хліб житній нарізний"}),
            Receipt({.di = 11,
                     .number = 2,
                     .timestamp = "2016-03-04 23:59:59",
                     .total = 4120,
                     .item = "Кефір 1% 1 л",
                     .rrn = "607412853196"}),
            ZReport(kFiscalA, 12, 1, "2016-03-05 00:00:00", 5370),
            Receipt({.di = 13,
                     .number = 3,
                     .timestamp = "2016-03-05 10:00:00",
                     .total = 1250,
                     .item = "Молоко",
                     .kind = DocumentKind::kReturn,
                     .comment = "Обмін та повернення протягом 14 днів"}),
            Receipt({.di = 14,
                     .number = 4,
                     .timestamp = "2016-03-06 08:00:00",
                     .total = 50000,
                     .item = "",
                     .kind = DocumentKind::kService}),
        },
        Arrival::kImported);
    archive->Store({Receipt({.fiscal = kFiscalB,
                             .di = 1,
                             .number = 1,
                             .timestamp = "2016-03-04 12:00:00",
                             .total = 1250,
                             .item = "ХЛІБ білий"}),
                    ZReport(kFiscalB, 2, 1, "2016-03-04 22:00:00", 1250)},
                   Arrival::kCollected);
  }
};

struct FindCase {
  std::string what;
  FindQuery query;
  std::vector<long long> dis;  // register A's, then register B's
};

TEST_P(ArchiveFindTest, EachConditionNarrowsTheListAndTheyCombine) {
  const FindCase cases[] = {
      {"everything, by register then DI", {}, {10, 11, 12, 13, 14, 1, 2}},
      {"a register by name", {.registerKey = "Каса 1"}, {10, 11, 12, 13, 14}},
      {"a register by fiscal number", {.registerKey = kFiscalB}, {1, 2}},
      {"an unknown register", {.registerKey = "3999999999"}, {}},
      {"from a day on", {.from = "2016-03-05 00:00:00"}, {12, 13, 14}},
      {"up to the last second of a day", {.to = "2016-03-04 23:59:59"}, {10, 11, 1, 2}},
      {"one kind", {.kinds = {DocumentKind::kZReport}}, {12, 2}},
      {"two kinds", {.kinds = {DocumentKind::kReturn, DocumentKind::kService}}, {13, 14}},
      {"a number range", {.numberFrom = 2, .numberTo = 3}, {11, 13}},
      {"a number", {.numberFrom = 1, .numberTo = 1}, {10, 12, 1, 2}},
      {"a word of an item, any case", {.text = "хліб"}, {10, 1}},
      {"every word must stand", {.text = "ХЛІБ житній"}, {10}},
      {"a word of a comment", {.text = "повернення"}, {13}},
      {"a word nowhere", {.text = "Банани"}, {}},
      {"query syntax is read as words", {.text = "хліб OR NEAR(кефір) *"}, {}},
      {"a quote in a word", {.text = "хліб\""}, {10, 1}},
      {"a word within a period", {.from = "2016-03-04 12:00:00", .text = "хліб"}, {1}},
      {"white space alone asks nothing", {.text = "  "}, {10, 11, 12, 13, 14, 1, 2}},
      {"an amount", {.amount = 1250}, {10, 13, 1, 2}},
      {"an RRN", {.rrn = "607412853196"}, {11}},
      {"conditions together",
       {.registerKey = kFiscalA, .kinds = {DocumentKind::kReceipt}, .text = "хліб", .amount = 1250},
       {10}},
      {"a limit", {.limit = 2}, {10, 11}},
  };
  for (const FindCase& c : cases) EXPECT_EQ(FoundDis(c.query), c.dis) << c.what;
}

TEST_P(ArchiveFindTest, AFoundDocumentNamesItsRegisterKindNumberTimeAndTotal) {
  const std::vector<FoundDocument> found = archive->Find({.rrn = "607412853196"});
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].registerName, "Каса 1");
  EXPECT_EQ(found[0].fiscalNumber, kFiscalA);
  EXPECT_EQ(found[0].kind, DocumentKind::kReceipt);
  EXPECT_EQ(found[0].number, 2);
  EXPECT_EQ(found[0].timestamp, "2016-03-04 23:59:59");
  EXPECT_EQ(found[0].total, 4120);
}

TEST_P(ArchiveFindTest, ShowFindsAReceiptOrAZReportByItsNumber) {
  const auto receipt = archive->Show("Каса 1", false, 1);
  ASSERT_TRUE(receipt);
  EXPECT_EQ(receipt->found.di, 10);
  EXPECT_EQ(receipt->xml, ReceiptXml(kFiscalA, 10, 1, "Хліб житній нарізний", 1250));
  const auto zReport = archive->Show(kFiscalA, true, 1);
  ASSERT_TRUE(zReport);
  EXPECT_EQ(zReport->found.di, 12);
  EXPECT_EQ(zReport->found.kind, DocumentKind::kZReport);
  // Receipts of every kind share the numbers.
  ASSERT_TRUE(archive->Show(kFiscalA, false, 3));
  EXPECT_EQ(archive->Show(kFiscalA, false, 3)->found.kind, DocumentKind::kReturn);

  EXPECT_FALSE(archive->Show(kFiscalA, true, 2));
  EXPECT_FALSE(archive->Show(kFiscalA, false, 5));
  EXPECT_FALSE(archive->Show("Каса 2", false, 1));
}

TEST_P(ArchiveFindTest, HeldTellsACollectorWhatItHasOfARegister) {
  const Holdings all = archive->Held(kFiscalA, "");
  EXPECT_EQ(all.lastReceiptTime, "2016-03-06 08:00:00");
  EXPECT_EQ(all.lastZNumber, 1);
  EXPECT_EQ(all.receiptNumbers, (std::set<long long>{1, 2, 3, 4}));
  EXPECT_EQ(all.dis, (std::set<long long>{10, 11, 12, 13, 14}));

  const Holdings since = archive->Held(kFiscalA, "2016-03-05 00:00:00");
  EXPECT_EQ(since.lastReceiptTime, "2016-03-06 08:00:00");
  EXPECT_EQ(since.receiptNumbers, (std::set<long long>{3, 4}));
  EXPECT_EQ(since.dis, (std::set<long long>{12, 13, 14}));

  const Holdings none = archive->Held("3999999999", "");
  EXPECT_EQ(none.lastReceiptTime, "");
  EXPECT_EQ(none.lastZNumber, 0);
  EXPECT_TRUE(none.receiptNumbers.empty());
  EXPECT_TRUE(none.dis.empty());
}

TEST_P(ArchiveFindTest, EveryDocumentOfARangeIsVisitedInDiOrder) {
  std::vector<long long> dis;
  archive->ForEachDocument(kFiscalA, "2016-03-04 23:00:00", "2016-03-05 23:59:59",
                           [&dis](const StoredDocument& document) {
                             EXPECT_FALSE(document.xml.empty());
                             dis.push_back(document.found.di);
                           });
  EXPECT_EQ(dis, (std::vector<long long>{11, 12, 13}));
  dis.clear();
  archive->ForEachDocument(kFiscalB, "", "",
                           [&dis](const StoredDocument& d) { dis.push_back(d.found.di); });
  EXPECT_EQ(dis, (std::vector<long long>{1, 2}));
}

TEST_P(ArchiveTest, ARegisterIsNotedOnceAndKeepsWhatAnUpdateLeavesEmpty) {
  archive->Store({Receipt({.di = 1})}, Arrival::kFetched);
  ASSERT_TRUE(archive->FindRegister(kFiscalA));
  EXPECT_EQ(archive->FindRegister(kFiscalA)->serialNumber, "ТЕ00000001");  // from the document
  EXPECT_EQ(archive->FindRegister(kFiscalA)->name, "");

  archive->NoteRegister({.name = "Каса 1",
                         .fiscalNumber = kFiscalA,
                         .protocol = "datecs",
                         .address = "127.0.0.1:34950"});
  archive->NoteRegister({.fiscalNumber = kFiscalA, .address = "10.0.0.5:34950"});
  const std::vector<RegisterRecord> registers = archive->Registers();
  ASSERT_EQ(registers.size(), 1u);
  EXPECT_EQ(registers[0].name, "Каса 1");
  EXPECT_EQ(registers[0].serialNumber, "ТЕ00000001");
  EXPECT_EQ(registers[0].protocol, "datecs");
  EXPECT_EQ(registers[0].address, "10.0.0.5:34950");
  EXPECT_EQ(archive->FindRegister("Каса 1")->fiscalNumber, kFiscalA);
  EXPECT_FALSE(archive->FindRegister("Каса 2"));
}

TEST_P(ArchiveTest, ANameIsFoundBeforeAFiscalNumberThatReadsTheSame) {
  archive->NoteRegister({.fiscalNumber = kFiscalA});
  archive->NoteRegister({.name = kFiscalA, .fiscalNumber = kFiscalB});
  EXPECT_EQ(archive->FindRegister(kFiscalA)->fiscalNumber, kFiscalB);
}

TEST_P(ArchiveTest, WritersOnSeveralConnectionsTakeTurns) {
  // They all start on an archive that does not exist yet, so its creation is shared too.
  TempDir otherDir;
  const std::string fresh = GetParam().freshLocation(otherDir);
  constexpr int kWriters = 4, kBatches = 10, kBatchSize = 50;
  std::vector<std::thread> writers;
  std::vector<std::string> failures(kWriters);
  std::vector<long long> stored(kWriters, 0);
  for (int w = 0; w < kWriters; ++w)
    writers.emplace_back([&, w] {
      try {
        const std::unique_ptr<Archive> own = OpenArchive(fresh);
        for (int b = 0; b < kBatches; ++b) {
          // Every writer stores the same documents: each is stored once, by one of them.
          std::vector<DocumentRecord> batch;
          for (int i = 0; i < kBatchSize; ++i) {
            const long long di = b * kBatchSize + i + 1;
            batch.push_back(
                Receipt({.fiscal = w % 2 ? kFiscalA : kFiscalB, .di = di, .number = di}));
          }
          stored[w] += own->Store(batch, Arrival::kCollected).stored;
        }
      } catch (const std::exception& failure) {
        failures[w] = failure.what();
      }
    });
  for (std::thread& writer : writers) writer.join();
  for (const std::string& failure : failures) EXPECT_EQ(failure, "");
  EXPECT_EQ(stored[0] + stored[1] + stored[2] + stored[3], 2 * kBatches * kBatchSize);
  EXPECT_EQ(OpenArchive(fresh)->Find({}).size(),
            static_cast<std::size_t>(2 * kBatches * kBatchSize));
}

INSTANTIATE_TEST_SUITE_P(Backends, ArchiveTest, ::testing::ValuesIn(ArchiveBackends()),
                         [](const auto& backend) { return backend.param.name; });
INSTANTIATE_TEST_SUITE_P(Backends, ArchiveFindTest, ::testing::ValuesIn(ArchiveBackends()),
                         [](const auto& backend) { return backend.param.name; });

}  // namespace
}  // namespace morvek::test
