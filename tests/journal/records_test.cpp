#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "journal/document.h"
#include "journal/entry.h"
#include "journal/receipt.h"
#include "journal_fixture.h"

namespace morvek {
namespace {

using test::LineOrder;
using test::LinesOf;

TEST(KeyedRecords, KeysInAnyOrderAreHeldInKeyOrderEachOnce) {
  // Appended, in front, between, and an existing key looked up again: the loader only appends,
  // the ordering and the window's tables may not.
  const struct {
    std::vector<int> keys;
    std::vector<int> held;
  } kCases[] = {
      {{0, 1, 2}, {0, 1, 2}},
      {{5, 1, 3}, {1, 3, 5}},
      {{2, 2, 0, 2}, {0, 2}},
      {{-1, 7, 3, 7, -1}, {-1, 3, 7}},
      {{}, {}},
  };
  for (const auto& c : kCases) {
    KeyedRecords<sale_comment> records;
    for (const int key : c.keys) records[key].text += std::to_string(key);
    std::vector<int> held;
    for (const auto& [key, record] : records) {
      held.push_back(key);
      std::string each;  // one lookup, one mark: every lookup of a key reached the same record
      for (const int k : c.keys)
        if (k == key) each += std::to_string(k);
      EXPECT_EQ(record.text, each);
    }
    EXPECT_EQ(held, c.held);
    for (const int key : c.held) EXPECT_EQ(records.count(key), 1u);
    EXPECT_EQ(records.find(4), records.end());
    EXPECT_EQ(Entry(records, 4).text, "");  // read without adding
    EXPECT_EQ(records.size(), c.held.size());
  }
}

TEST(ReceiptRecords, NewReceiptHasLineOneNextAndNoLines) {
  const check c;
  EXPECT_EQ(c.line_no, 1);
  EXPECT_EQ(c.LineCount(), 0);
  EXPECT_TRUE(c.line_order.empty());
  EXPECT_EQ(c.on, "");
}

TEST(ReceiptRecords, NewEndRecordAndTaxRecordHaveTheirTextDefaults) {
  const sale_end e;
  EXPECT_EQ(e.tx, "0");
  EXPECT_EQ(e.ts, "0");
  EXPECT_EQ(e.fn, "0");
  EXPECT_FALSE(e.has_taxes);
  EXPECT_EQ(e.tax_key, 0);
  EXPECT_EQ(tx().tx, " ");
}

TEST(ReceiptRecords, LineCountSumsAllElevenCounters) {
  check c;
  int* counters[] = {&c.sale_key,         &c.cp_sale_key, &c.discount_key, &c.surcharge_key,
                     &c.payment_key,      &c.cash_in_key, &c.cash_out_key, &c.comment_key,
                     &c.service_info_key, &c.cancel_key,  &c.end_key};
  int expected = 0;
  for (int i = 0; i < 11; ++i) {
    *counters[i] = i + 1;
    expected += i + 1;
    EXPECT_EQ(c.LineCount(), expected) << "after counter " << i;
  }
}

TEST(ReceiptRecords, PlaceLineOverwritesALineNumberAlreadyPresent) {
  check c;
  c.PlaceLine(1, kLineP, 0);
  c.PlaceLine(2, kLineD, 0);
  c.PlaceLine(1, kLineE, 3);
  EXPECT_EQ(LinesOf(c), (LineOrder{{1, {kLineE, 3}}, {2, {kLineD, 0}}}));
}

TEST(ReceiptRecords, LookupOfAMissingLineCreatesItsDefaults) {
  check c;
  EXPECT_EQ(c.sales[5].nm, "");
  EXPECT_EQ(c.sales[5].sm, 0.0f);
  EXPECT_EQ(c.end.taxes[2].tx, " ");
  EXPECT_EQ(c.sales.size(), 1u);
}

TEST(EnvelopeRecords, NewDocumentIsAReceiptAndNewZReportHasNoTotals) {
  const dat d;
  EXPECT_TRUE(d.is_receipt);
  EXPECT_EQ(d.check_key, 0);
  EXPECT_EQ(d.zvit_key, 0);
  const zvit z;
  EXPECT_FALSE(z.has_taxes || z.has_pays || z.has_rotates || z.has_counts);
  EXPECT_EQ(z.tax_key + z.pay_key + z.rotate_key + z.count_key, 0);
}

TEST(NumberRange, KeepsTheSmallestAndLargestNumber) {
  rq r;
  for (int n : {17, 12, 20}) r.NoteCheckNumber(n);
  EXPECT_EQ(r.check_no_min, 12);
  EXPECT_EQ(r.check_no_max, 20);
}

TEST(NumberRange, OneNumberIsBothEnds) {
  rq r;
  r.NoteCheckNumber(5);
  EXPECT_EQ(r.check_no_min, 5);
  EXPECT_EQ(r.check_no_max, 5);
}

TEST(NumberRange, ZeroIsNotRememberedAsTheMinimum) {
  rq r;
  r.NoteCheckNumber(0);
  r.NoteCheckNumber(4);
  EXPECT_EQ(r.check_no_min, 4);
  EXPECT_EQ(r.check_no_max, 4);
}

TEST(NumberRange, IncreasingNumbersMoveOnlyTheMaximum) {
  rq r;
  for (int n : {3, 4, 9}) r.NoteZNumber(n);
  EXPECT_EQ(r.z_no_min, 3);
  EXPECT_EQ(r.z_no_max, 9);
}

TEST(NumberRange, ReceiptAndZReportRangesAreSeparate) {
  rq r;
  r.NoteCheckNumber(40);
  r.NoteZNumber(3);
  EXPECT_EQ(r.check_no_min, 40);
  EXPECT_EQ(r.check_no_max, 40);
  EXPECT_EQ(r.z_no_min, 3);
  EXPECT_EQ(r.z_no_max, 3);
}

TEST(RootClear, EmptiesTheDocumentsAndKeepsVersionAndRanges) {
  rq r;
  r.v = 1;
  r.dats[0].fn = "F";
  r.dats[1].fn = "G";
  r.macs[1].di = 7;
  r.doc_index = 2;
  r.NoteCheckNumber(31);
  r.NoteZNumber(5);
  r.Clear();
  EXPECT_EQ(r.doc_index, 0);
  EXPECT_TRUE(r.dats.empty());
  EXPECT_TRUE(r.macs.empty());
  EXPECT_EQ(r.v, 1.0f);
  EXPECT_EQ(r.check_no_min, 31);
  EXPECT_EQ(r.check_no_max, 31);
  EXPECT_EQ(r.z_no_min, 5);
  EXPECT_EQ(r.z_no_max, 5);
}

}  // namespace
}  // namespace morvek
