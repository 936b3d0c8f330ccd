// A server that goes away in the middle of a request: the request ends at the first document that
// could not be asked, instead of failing (and, for Zelmar, showing an error box) for every document
// left in the range.
#include <gtest/gtest.h>

#include "app/sim_window.h"

namespace morvek::test {
namespace {

class ServerGone : public ::testing::TestWithParam<Protocol> {};

TEST_P(ServerGone, TheRequestEndsAtTheFirstDocumentThatCouldNotBeAsked) {
  const bool zelmar = GetParam() == Protocol::kZelmar;
  SimWindow w(GetParam(), zelmar ? "127.0.70.30" : "127.0.70.31");
  // Once receipt 1519 is shown in the progress, the server stops.
  const auto showProgress = w.app.Form4.onRepaint;
  w.app.Form4.onRepaint = [&] {
    showProgress();
    if (w.progress.size() == 1) w.StopServer();
  };
  w.FetchByNumber(kTypeReceipt, 1519, 1530);
  EXPECT_EQ(w.ShownReceipts(), std::vector<int>{1519});
  EXPECT_EQ(w.progress.size(), 2u) << "1520 failed, and nothing after it was asked";
  EXPECT_FALSE(w.app.Form1.ClientSocket1.IsActive());
  // What was not asked is named lost with the one that failed, in one box at the end.
  ASSERT_EQ(w.ui.messages.size(), zelmar ? 2u : 1u) << "one box, not one per frame and document";
  EXPECT_EQ(U(w.ui.messages.back()).rfind("Не получено документов: 11\n1520: связь потеряна", 0),
            0u)
      << U(w.ui.messages.back());
  if (zelmar) {
    EXPECT_EQ(w.ui.messages[0].rfind("SocketErrorcannot connect to 127.0.70.30", 0), 0u)
        << w.ui.messages[0];
  }
}

INSTANTIATE_TEST_SUITE_P(Protocols, ServerGone,
                         ::testing::Values(Protocol::kZelmar, Protocol::kDatecs), ProtocolName);

// The server closes the connection but stays: the Zelmar driver connects again and announces the
// register before it sends the frame once more, so the document comes whole without a box.
TEST(ConnectionClosed, ZelmarConnectsAgainAnnouncingTheRegister) {
  SimWindow w(Protocol::kZelmar, "127.0.70.32", {"close@2"});
  w.app.Form3.RadioGroup2.itemIndex = 1;
  w.app.Form3.Edit2.text = "4000000001";
  w.FetchByNumber(kTypeReceipt, 1519, 1520);
  EXPECT_EQ(w.ShownReceipts(), (std::vector<int>{1519, 1520}));
  EXPECT_TRUE(w.ui.messages.empty());
  int connections = 0;
  for (const std::string& line : w.SimLogLines()) connections += line == "connection opened";
  EXPECT_EQ(connections, 2) << "the server took the announcement again on a new connection";
}

}  // namespace
}  // namespace morvek::test
