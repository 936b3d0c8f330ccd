// The connect button against a server the test plays by hand: the announcement, the go-ahead in
// its forms, the wait and its abort, and the states the button leaves.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/app_test_support.h"
#include "fake_server.h"

namespace morvek {
namespace {

using test::FakeServer;
using test::TestHost;
using test::W;

const std::string kRefused =
    "Сервер не отвечает, проверьте настройки РРО (IP адрес или удаленный доступ)";
const std::string kNoServer = "Сервер не отвечает, проверьте IP адрес";
// A go-ahead that was taken reaches the register check; this register never answers.
const std::string kRegisterSilent = "Ошибка! Таймаут устройства!";

class Handshake : public ::testing::Test, public test::StartedApp {
 protected:
  explicit Handshake(const RegisterTimings& timings = test::FastTimings())
      : test::StartedApp(timings) {}

  // A server on host that answers the announcement with reply (nothing when empty).
  void Answer(FakeServer& server, const std::string& reply) {
    steps.push_back([&server, reply, this] {
      ASSERT_TRUE(server.Accept());
      announcement = server.Receive();
      if (!reply.empty()) server.Send(reply);
    });
  }
  bool Shown(const std::string& utf8) const {
    return std::find(ui.messages.begin(), ui.messages.end(), W(utf8)) != ui.messages.end();
  }

  TForm3& form = app.Form3;
  std::string announcement;
};

TEST_F(Handshake, FiscalNumberIsAnnouncedInTwelveBytes) {
  FakeServer server(TestHost(1), TForm3::kDatecsPort);
  Aim(TestHost(1), false, "4000000001");
  Answer(server, "No");
  form.Button3Click();
  EXPECT_EQ(announcement, ":4000000001:");
}

TEST_F(Handshake, IdDevIsAnnouncedInNineBytesPaddedOrCut) {
  FakeServer server(TestHost(2), TForm3::kZelmarPort);
  Aim(TestHost(2), true, "ZL01");
  form.RadioGroup2.itemIndex = 0;
  Answer(server, "No");
  form.Button3Click();
  EXPECT_EQ(announcement, std::string("ZL01\0\0\0\0\0", 9));

  form.Edit2.text = "ZL00000012345";
  Answer(server, "No");
  form.Button3Click();
  EXPECT_EQ(announcement, "ZL0000001");
}

TEST_F(Handshake, ReadyFollowedByMoreBytesIsNoGoAhead) {
  FakeServer server(TestHost(3), TForm3::kZelmarPort);
  Aim(TestHost(3), true);
  Answer(server, "Ready\r\n");
  form.Button3Click();
  EXPECT_TRUE(Shown(kRefused));
  EXPECT_FALSE(Shown(kRegisterSilent));
}

TEST_F(Handshake, SplitReadyIsStillAGoAhead) {
  FakeServer server(TestHost(4), TForm3::kZelmarPort);
  Aim(TestHost(4), true);
  Answer(server, "Rea");
  // The next silent wait comes after "Rea" was read.
  steps.push_back([&] { server.Send("dy"); });
  form.Button3Click();
  EXPECT_FALSE(Shown(kRefused));
  EXPECT_TRUE(Shown(kRegisterSilent));
}

TEST_F(Handshake, AFullBufferWithoutZeroIsNoGoAheadAndNothingBeyondItIsRead) {
  FakeServer server(TestHost(6), TForm3::kZelmarPort);
  Aim(TestHost(6), true);
  Answer(server, std::string(500, 'R') + "Ready");
  form.Button3Click();
  EXPECT_TRUE(Shown(kRefused));
  EXPECT_EQ(UnreadBytes(), 5);
}

// Three ticks a cycle.
class HandshakeOfThreeTicks : public Handshake {
 protected:
  HandshakeOfThreeTicks()
      : Handshake([] {
          RegisterTimings timings = test::FastTimings();
          timings.handshake.ticks = 3;
          return timings;
        }()) {}
};

TEST_F(HandshakeOfThreeTicks, ASilentServerIsWaitedForWithACountdownThenRefused) {
  FakeServer server(TestHost(7), TForm3::kZelmarPort);
  Aim(TestHost(7), true);
  Answer(server, "");
  std::vector<std::string> countdown;
  for (int i = 0; i < 12; ++i) steps.push_back([&] { countdown.push_back(app.Form5.Label2.text); });
  form.Button3Click();
  // The answer step runs at the first processing, the countdown at the silent waits after it.
  ASSERT_EQ(countdown.size(), 12u);
  EXPECT_EQ(countdown.front(), "3 : 2");
  EXPECT_EQ(app.Form5.Label2.text, "0 : 0");
  EXPECT_TRUE(Shown(kRefused));
  EXPECT_FALSE(app.Form5.visible);
}

TEST_F(Handshake, AbortEndsTheWaitWithinOneWait) {
  FakeServer server(TestHost(8), TForm3::kZelmarPort);
  Aim(TestHost(8), true);
  Answer(server, "");
  steps.push_back([&] { app.Form5.Button1Click(); });
  steps.push_back([] { ADD_FAILURE() << "the wait went on after the abort"; });
  form.Button3Click();
  EXPECT_EQ(app.Form5.Label2.text, W("3 : 59"));
  EXPECT_TRUE(Shown(kRefused));
  EXPECT_FALSE(app.Form5.IsAborted());
  EXPECT_FALSE(app.Form5.visible);
}

TEST_F(Handshake, NoGoAheadLeavesRedIndicatorDisabledMenuAndActiveSocket) {
  FakeServer server(TestHost(10), TForm3::kDatecsPort);
  Aim(TestHost(10), false);
  Answer(server, "Unknown register");
  form.Button3Click();
  EXPECT_EQ(form.Shape1.color, Shape::kRed);
  EXPECT_EQ(form.Button3.caption, W("Подключить"));
  EXPECT_FALSE(form.N2.enabled);
  EXPECT_TRUE(app.Form1.ClientSocket1.IsActive());
  EXPECT_EQ(ui.messages, std::vector<std::string>{W(kRefused)});
}

TEST_F(Handshake, NoServerIsReportedAndChangesNothing) {
  Aim(TestHost(11), true);
  form.Button3Click();
  EXPECT_EQ(ui.messages, std::vector<std::string>{W(kNoServer)});
  EXPECT_EQ(form.Shape1.color, Shape::kRed);
  EXPECT_EQ(form.Button3.caption, W("Подключить"));
  EXPECT_FALSE(app.Form1.ClientSocket1.IsActive());
  EXPECT_FALSE(app.Form5.visible);
  EXPECT_EQ(step, 0u);
}

TEST_F(Handshake, ReconnectAfterAFailedGoAheadClosesTheOldSocketFirst) {
  FakeServer server(TestHost(12), TForm3::kZelmarPort);
  Aim(TestHost(12), true);
  Answer(server, "No");
  form.Button3Click();
  ASSERT_TRUE(app.Form1.ClientSocket1.IsActive());
  steps.push_back([&] { EXPECT_TRUE(server.PeerClosed()); });
  Answer(server, "Ready");
  form.Button3Click();
  EXPECT_EQ(announcement, ":4000000001:");
  EXPECT_TRUE(Shown(kRegisterSilent));
}

TEST_F(Handshake, ClicksDuringTheWaitAreIgnoredAndClosingWaitsForTheEnd) {
  FakeServer server(TestHost(13), TForm3::kZelmarPort);
  Aim(TestHost(13), true);
  bool closedDuringWait = true;
  steps.push_back([&] {
    ASSERT_TRUE(server.Accept());
    server.Receive();
    form.Button3Click();  // would connect anew, taking the socket from under the wait
    form.Button3Click();
    closedDuringWait = app.RequestClose();
    server.Send("No");
  });
  form.Button3Click();
  EXPECT_FALSE(closedDuringWait);
  EXPECT_FALSE(server.Accept(0)) << "a second connection was made";
  EXPECT_EQ(ui.messages, std::vector<std::string>{W(kRefused)});
  EXPECT_TRUE(app.Closed());
  EXPECT_EQ(test::ReadFile(app.Form2.iniPath), "[Connection]\r\nIPAddres=" + TestHost(13) + "\r\n");
}

}  // namespace
}  // namespace morvek
