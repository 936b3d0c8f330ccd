// Ordering the loaded documents by their identifier.
#include "render/ordering.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvek {
namespace {

dat Document(float di, const std::string& mark, bool receipt = true) {
  dat d;
  d.is_receipt = receipt;
  d.di = di;
  d.fn = mark;
  d.tn = "tn-" + mark;
  d.zn = "zn-" + mark;
  d.dt = di * 2;
  d.v = 1;
  d.ts.value = "stamp-" + mark;
  if (receipt) {
    d.checks[0].end.no = di;
    d.checks[0].on = "on-" + mark;
    d.check_key = 1;
  } else {
    d.zvits[0].no = di;
    d.zvit_key = 1;
  }
  return d;
}

std::vector<float> DiOf(const rq& model) {
  std::vector<float> di;
  for (const auto& [position, document] : model.dats) di.push_back(document.di);
  return di;
}

TEST(OrderDocuments, SortsByDiAndRenumbersThePositions) {
  rq model;
  model.dats[0] = Document(7, "seven");
  model.dats[1] = Document(3, "three");
  model.dats[2] = Document(5, "five");
  model.doc_index = 3;

  OrderDocuments(model);

  EXPECT_EQ(DiOf(model), (std::vector<float>{3, 5, 7}));
  EXPECT_EQ(model.doc_index, 3);
}

TEST(OrderDocuments, EveryFieldTravelsWithItsDocument) {
  rq model;
  model.dats[0] = Document(7, "seven", false);
  model.dats[1] = Document(3, "three");
  model.doc_index = 2;

  OrderDocuments(model);

  const dat& first = model.dats.at(0);
  EXPECT_TRUE(first.is_receipt);
  EXPECT_EQ(first.fn, "three");
  EXPECT_EQ(first.tn, "tn-three");
  EXPECT_EQ(first.zn, "zn-three");
  EXPECT_EQ(first.dt, 6);
  EXPECT_EQ(first.ts.value, "stamp-three");
  EXPECT_EQ(first.checks.at(0).on, "on-three");
  EXPECT_EQ(first.check_key, 1);
  EXPECT_TRUE(first.zvits.empty());

  const dat& second = model.dats.at(1);
  EXPECT_FALSE(second.is_receipt);
  EXPECT_EQ(second.fn, "seven");
  EXPECT_EQ(second.zvits.at(0).no, 7);
  EXPECT_EQ(second.zvit_key, 1);
  EXPECT_TRUE(second.checks.empty());
}

TEST(OrderDocuments, EqualDiKeepsBothDocuments) {
  rq model;
  model.dats[0] = Document(4, "a");
  model.dats[1] = Document(4, "b");
  model.dats[2] = Document(1, "c");
  model.doc_index = 3;

  OrderDocuments(model);

  EXPECT_EQ(model.dats.at(0).fn, "c");
  const std::string rest = model.dats.at(1).fn + model.dats.at(2).fn;
  EXPECT_TRUE(rest == "ab" || rest == "ba") << rest;
}

TEST(OrderDocuments, DocumentWithoutItsMacTakesPartButKeepsItsOwnPosition) {
  // The last DAT had no MAC: it stands at the position equal to the count.
  rq model;
  model.dats[0] = Document(9, "nine");
  model.dats[1] = Document(5, "five");
  model.dats[2] = Document(1, "one");
  model.doc_index = 2;

  OrderDocuments(model);

  EXPECT_EQ(model.doc_index, 2);
  ASSERT_EQ(model.dats.size(), 3u);
  EXPECT_EQ(model.dats.at(0).fn, "one");
  EXPECT_EQ(model.dats.at(1).fn, "five");
  EXPECT_EQ(model.dats.at(2).fn, "one");  // its former content
  EXPECT_EQ(model.dats.at(2).checks.at(0).on, "on-one");
}

TEST(OrderDocuments, MacWithoutItsDatNeverReadsPastTheDocumentsItHas) {
  // Three MACs but only two DATs: the sorted documents fill positions 0 and 1; nothing is made up
  // for position 2.
  rq model;
  model.dats[0] = Document(9, "nine");
  model.dats[1] = Document(5, "five");
  model.doc_index = 3;

  OrderDocuments(model);

  EXPECT_EQ(model.doc_index, 3);
  ASSERT_EQ(model.dats.size(), 2u);
  EXPECT_EQ(model.dats.at(0).fn, "five");
  EXPECT_EQ(model.dats.at(1).fn, "nine");
}

TEST(OrderDocuments, PositionsBeyondTheSortedDocumentsKeepTheirContent) {
  // A MAC without its DAT came first, so the only document stands at position 1.
  rq model;
  model.dats[1] = Document(5, "five");
  model.doc_index = 2;

  OrderDocuments(model);

  ASSERT_EQ(model.dats.size(), 2u);
  EXPECT_EQ(model.dats.at(0).fn, "five");
  EXPECT_EQ(model.dats.at(1).fn, "five");
  EXPECT_EQ(model.dats.at(1).checks.at(0).on, "on-five");
}

TEST(OrderDocuments, EmptyModelStaysEmpty) {
  rq model;
  OrderDocuments(model);
  EXPECT_TRUE(model.dats.empty());
  EXPECT_EQ(model.doc_index, 0);
}

TEST(OrderDocuments, LaterLoadIsOrderedTogetherWithEarlierDocuments) {
  rq model;
  model.dats[0] = Document(2, "two");
  model.dats[1] = Document(6, "six");
  model.doc_index = 2;
  OrderDocuments(model);
  model.dats[2] = Document(4, "four");
  model.dats[3] = Document(1, "one");
  model.doc_index = 4;

  OrderDocuments(model);

  EXPECT_EQ(DiOf(model), (std::vector<float>{1, 2, 4, 6}));
}

}  // namespace
}  // namespace morvek
