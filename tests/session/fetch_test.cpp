// The fetch over a register link of the tests' own: a protocol that keeps its documents in a map
// and hands them out as fragments or in one transfer is all the fetch needs.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "codec/base64.h"
#include "session/fetch.h"

namespace morvek {
namespace {

std::string Receipt(int number, int di) {
  return "<DAT DI=\"" + std::to_string(di) + "\"><C T=\"0\"><E N=\"1\" NO=\"" +
         std::to_string(number) + "\"/></C></DAT><MAC>00</MAC>";
}

class MapLink : public RegisterLink {
 public:
  std::map<int, std::string> documents;
  std::map<int, std::string> refused;  // number -> status
  int dropAfter = -1;                  // the connection breaks after this number is asked for
  int unreadable = -1;                 // this number's reply carries an indicator that is no number
  int fragmentsAsked = 0;

  Protocol protocol() const override { return Protocol::kZelmar; }
  LinkReply Diagnostics(std::string_view) override { return {}; }
  LinkReply NumbersByDate(std::string_view, const DateTexts&) override { return {}; }
  LinkReply PrintInterval(std::string_view, int, int) override { return {}; }
  bool Connected() const override { return connected_; }

  // Each document in two fragments, then an indicator of 0.
  LinkReply Fragment(std::string_view, int, int number, int fragment) override {
    ++fragmentsAsked;
    if (number == dropAfter) connected_ = false;
    LinkReply reply;
    reply.kind = LinkReply::Kind::kAnswer;
    if (refused.count(number)) {
      reply.refusal = refused[number];
      return reply;
    }
    if (number == unreadable) {
      reply.params = {"x", ""};
      return reply;
    }
    const auto it = documents.find(number);
    const std::string& text = it == documents.end() ? std::string() : it->second;
    const std::size_t half = text.size() / 2;
    if (it == documents.end() || fragment >= 2) {
      reply.params = {"0", ""};
    } else {
      reply.params = {"1", Base64Encode(fragment == 0 ? text.substr(0, half) : text.substr(half))};
    }
    return reply;
  }

  TransferEnd TransferBlocks(int, std::int32_t first, std::int32_t last,
                             const BlockSink& sink) override {
    for (const auto& [number, text] : documents)
      if (number >= first && number <= last) sink.addDocument(number, text);
    return TransferEnd::kLastBlock;
  }

 private:
  bool connected_ = true;
};

struct Case {
  const char* name;
  bool blocks;
};

class FetchOverALink : public ::testing::TestWithParam<Case> {};

TEST_P(FetchOverALink, DeliversWhatTheRegisterHasAndNamesEveryOtherNumber) {
  MapLink link;
  link.documents = {{1, Receipt(1, 11)}, {2, Receipt(2, 12)}, {4, Receipt(4, 14)}};
  FetchResult result;
  result.outcome.Begin();
  Fetch(link, "582941", GetParam().blocks, 1, 1, 5, {}, result);

  ASSERT_FALSE(result.failed);
  std::vector<int> numbers;
  for (const FetchedDocument& document : result.documents) {
    numbers.push_back(document.number);
    EXPECT_EQ(document.di, std::to_string(10 + document.number));
    EXPECT_EQ(document.xml, link.documents[document.number]);
  }
  EXPECT_EQ(numbers, (std::vector<int>{1, 2, 4}));
  EXPECT_EQ(result.outcome.Count(Fate::kDelivered), 3);
  EXPECT_EQ(result.outcome.Count(Fate::kAbsent), 2);
  EXPECT_EQ(result.outcome.Count(Fate::kLost), 0);
}

INSTANTIATE_TEST_SUITE_P(Ways, FetchOverALink,
                         ::testing::Values(Case{"ByNumber", false}, Case{"InBlocks", true}),
                         [](const auto& each) { return std::string(each.param.name); });

TEST(FetchOverALink, SkipsWhatTheCallerHoldsAndStopsWhenTheConnectionIsGone) {
  MapLink link;
  link.documents = {{1, Receipt(1, 11)}, {2, Receipt(2, 12)}, {3, Receipt(3, 13)}};
  link.refused = {{4, "0C07"}};
  link.dropAfter = 5;
  FetchHooks hooks;
  hooks.holdsNumber = [](int number) { return number == 2; };
  FetchResult result;
  result.outcome.Begin();
  FetchByNumber(link, "582941", 1, 1, 9, hooks, result);

  EXPECT_EQ(result.documents.size(), 2u);
  EXPECT_EQ(result.settled, (std::vector<int>{1, 3}));
  EXPECT_EQ(result.outcome.Count(Fate::kHeld), 1);
  EXPECT_EQ(
      UndeliveredLines(result.outcome),
      (std::vector<std::string>{
          "receipt 4: absent at the register: the register answered with an error (status "
          "0C07)",
          "receipt 5: absent at the register: no data", "receipts 6 to 9: lost: connection lost"}));
}

TEST(FetchOverALink, AReplyThatCannotBeReadFailsTheWholeFetch) {
  MapLink link;
  link.documents = {{1, Receipt(1, 11)}, {2, Receipt(2, 12)}};
  link.unreadable = 3;
  FetchResult result;
  result.outcome.Begin();
  Fetch(link, "582941", false, 1, 1, 4, {}, result);
  // Nothing of it counts as delivered, so no caller takes the first two for held.
  EXPECT_TRUE(result.failed);
  EXPECT_TRUE(result.documents.empty());
  EXPECT_TRUE(result.settled.empty());
  EXPECT_EQ(result.outcome.Count(Fate::kLost), 4);
}

TEST(FetchOverALink, BlocksDeliverADocumentTheCallerHoldsOnlyOnce) {
  MapLink link;
  link.documents = {{1, Receipt(1, 11)}, {2, Receipt(2, 12)}};
  FetchHooks hooks;
  hooks.holdsDocument = [](const FetchedDocument& document) { return document.di == "11"; };
  FetchResult result;
  result.outcome.Begin();
  FetchBlocks(link, 1, 1, 2, {{1, 2}}, hooks, result);
  ASSERT_EQ(result.documents.size(), 1u);
  EXPECT_EQ(result.documents[0].number, 2);
  EXPECT_EQ(result.outcome.Count(Fate::kHeld), 1);
}

}  // namespace
}  // namespace morvek
