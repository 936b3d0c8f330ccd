// The connect button against the simulated server and register of either protocol: the register
// check fills the status bar and sets the firmware gate, a silent register ends the click, and the
// settings of the first click serve the whole run.
#include <gtest/gtest.h>

#include <memory>

#include "app/app_test_support.h"
#include "sim/sim_server.h"

namespace morvek {
namespace {

using test::TestHost;
using test::W;

class RegisterCheck : public ::testing::Test, public test::StartedApp {
 protected:
  ~RegisterCheck() override {
    app.Form1.ClientSocket1.Deactivate();
    if (server) server->Stop();
  }

  // A register of the protocol behind a server on host, on the protocol's port.
  void StartRegister(int host, sim::Protocol protocol, const std::string& firmware,
                     const std::vector<std::string>& faults = {}) {
    sim::SimOptions options;
    options.host = TestHost(host);
    options.port = protocol == sim::Protocol::kZelmar ? sim::kZelmarPort : sim::kDatecsPort;
    options.fiscalNumber = "4000000001";
    options.registerConfig.protocol = protocol;
    options.registerConfig.firmware = firmware;
    for (const std::string& fault : faults)
      options.registerConfig.faults.push_back(*sim::ParseFault(fault));
    server = std::make_unique<sim::SimServer>(
        options, std::make_shared<const sim::Journal>(sim::Journal::FromText("")), quiet);
    server->Start();
    Aim(TestHost(host), protocol == sim::Protocol::kZelmar);
  }

  void ExpectConnected() {
    EXPECT_EQ(form.Shape1.color, Shape::kLime);
    EXPECT_EQ(form.Button3.caption, W("Отключить"));
    EXPECT_TRUE(form.N2.enabled);
    EXPECT_TRUE(app.Form1.ClientSocket1.IsActive());
  }
  void ExpectRedWithSocketActive() {
    EXPECT_EQ(form.Shape1.color, Shape::kRed);
    EXPECT_EQ(form.Button3.caption, W("Подключить"));
    EXPECT_FALSE(form.N2.enabled);
    EXPECT_TRUE(app.Form1.ClientSocket1.IsActive());
  }

  sim::SimLog quiet{nullptr};
  std::unique_ptr<sim::SimServer> server;
  TForm3& form = app.Form3;
};

TEST_F(RegisterCheck, ZelmarRegisterFillsFourPanelsAndPassesTheGate) {
  StartRegister(40, sim::Protocol::kZelmar, "Dec  4 2015");
  form.Button3Click();
  ExpectConnected();
  EXPECT_EQ(form.StatusBar1.panels,
            (std::array<std::string, 4>{"ZELMAR-EKSPERT", "V2.01", "4000000001", "Dec  4 2015"}));
  EXPECT_TRUE(app.Form53.recentFirmware);
  EXPECT_EQ(app.Form2.lastZelmarResult, &app.zelmar.Result());
  EXPECT_EQ(app.zelmar.RetryCount(), 1);  // "Reply" absent: one reply check
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(RegisterCheck, AShortZelmarReplyIsAskedForExactlyOnceMore) {
  StartRegister(42, sim::Protocol::kZelmar, "Dec  4 2015", {"params@1", "params@2"});
  form.Button3Click();
  EXPECT_EQ(app.zelmar.SequenceCounter(), 2);
  // The second reply is used as it comes: its fourth parameter is no date.
  ASSERT_NE(app.Form2.lastZelmarResult, nullptr);
  EXPECT_NE(app.Form2.lastZelmarResult->paramCount, 11);
  EXPECT_EQ(form.StatusBar1.panels[3], "4");
  EXPECT_FALSE(app.Form53.recentFirmware);
}

TEST_F(RegisterCheck, ASilentZelmarRegisterEndsTheClickWithTheSocketActive) {
  StartRegister(43, sim::Protocol::kZelmar, "Dec  4 2015", {"stop@1"});
  form.Button3Click();
  EXPECT_EQ(ui.messages, std::vector<std::string>{W("Ошибка! Таймаут устройства!")});
  ExpectRedWithSocketActive();
  EXPECT_NE(app.Form2.lastZelmarResult->statusFlags & ZelmarResult::kNoReply, 0u);
}

TEST_F(RegisterCheck, DatecsRegisterFillsPanelsOneAndThreeOnly) {
  StartRegister(44, sim::Protocol::kDatecs, "Dec 12 2015");
  form.StatusBar1.panels = {"kept 0", "", "kept 2", ""};
  app.datecs.registerAccepted = false;
  form.Button3Click();
  ExpectConnected();
  EXPECT_EQ(form.StatusBar1.panels,
            (std::array<std::string, 4>{"kept 0", "ZD-3.02", "kept 2", "12Dec15"}));
  EXPECT_TRUE(app.Form53.recentFirmware);
  EXPECT_TRUE(app.datecs.registerAccepted);
  EXPECT_EQ(app.datecs.deliveries, 1);
}

TEST_F(RegisterCheck, AShortDatecsReplyIsAskedForOnceMore) {
  StartRegister(45, sim::Protocol::kDatecs, "Nov 12 2014", {"params@1"});
  app.Form53.recentFirmware = true;
  form.Button3Click();
  ExpectConnected();
  EXPECT_EQ(app.datecs.deliveries, 2);
  EXPECT_EQ(app.Form2.lastDatecsResult.paramCount, 8);
  EXPECT_EQ(form.StatusBar1.panels[3], "12Nov14");
  EXPECT_FALSE(app.Form53.recentFirmware);
}

TEST_F(RegisterCheck, AFirmwareDateThatIsNoNumberIsReportedAndTheClickEnds) {
  StartRegister(46, sim::Protocol::kZelmar, "Dec  4 20x5");
  app.Form53.recentFirmware = true;
  form.Button3Click();
  EXPECT_EQ(ui.errors.size(), 1u);
  ExpectRedWithSocketActive();
  EXPECT_TRUE(app.Form53.recentFirmware);  // the gate gave no result
}

TEST_F(RegisterCheck, AnEarlierReplysFirmwareDateNeverReachesTheGate) {
  StartRegister(47, sim::Protocol::kZelmar, "Dec  4 2015", {"status@2", "status@3"});
  form.Button3Click();
  ExpectConnected();
  form.Button3Click();
  // Both diagnostic replies of the second connection carry no parameters.
  form.Button3Click();
  EXPECT_EQ(form.StatusBar1.panels, (std::array<std::string, 4>{}));
  EXPECT_EQ(ui.errors.size(), 1u);
  ExpectRedWithSocketActive();
}

TEST_F(RegisterCheck, DatecsWithoutAnyReplyGatesOnNothingFromAnEarlierRegister) {
  StartRegister(48, sim::Protocol::kDatecs, "Dec 12 2015", {"close@2", "close@3"});
  form.Button3Click();
  ExpectConnected();
  form.Button3Click();
  // Both diagnostic queries of the second connection meet a closed connection: nothing delivered.
  form.Button3Click();
  EXPECT_EQ(form.StatusBar1.panels[3], "");
  EXPECT_EQ(ui.errors.size(), 1u);
  EXPECT_EQ(form.Shape1.color, Shape::kRed);
  EXPECT_FALSE(form.N2.enabled);
}

TEST_F(RegisterCheck, DisconnectClearsThePanelsAndClosesTheSocket) {
  StartRegister(49, sim::Protocol::kZelmar, "Dec  4 2015");
  form.Button3Click();
  ExpectConnected();
  form.Button3Click();
  EXPECT_EQ(form.StatusBar1.panels, (std::array<std::string, 4>{}));
  EXPECT_EQ(form.Shape1.color, Shape::kRed);
  EXPECT_EQ(form.Button3.caption, W("Подключить"));
  EXPECT_FALSE(form.N2.enabled);
  EXPECT_FALSE(app.Form1.ClientSocket1.IsActive());
}

TEST_F(RegisterCheck, AnUnknownRegisterIsRefusedByEitherServer) {
  for (const auto protocol : {sim::Protocol::kZelmar, sim::Protocol::kDatecs}) {
    StartRegister(protocol == sim::Protocol::kZelmar ? 50 : 51, protocol, "Dec  4 2015");
    form.Edit2.text = "4000000009";
    form.Button3Click();
    EXPECT_EQ(ui.messages, std::vector<std::string>{
                               W("Сервер не отвечает, проверьте настройки РРО (IP адрес или "
                                 "удаленный доступ)")});
    ExpectRedWithSocketActive();
    ui.messages.clear();
    server->Stop();
  }
}

TEST_F(RegisterCheck, SettingsOfTheFirstClickServeTheWholeRun) {
  const std::string settings = app.Form2.iniPath;
  test::WriteFile(settings,
                  "[LogFile]\r\nLog=1\r\nLogName=first.log\r\n[Fiscal Printer]\r\nReply=3\r\n"
                  "[Priority]\r\nLevel=high\r\n[UkrVer]\r\nVersion=2\r\n");
  StartRegister(52, sim::Protocol::kZelmar, "Dec  4 2015");
  form.Button3Click();
  ExpectConnected();
  EXPECT_EQ(app.Form2.ukrVersion, 2);
  test::WriteFile(settings,
                  "[LogFile]\r\nLog=1\r\nLogName=second.log\r\n[Fiscal Printer]\r\nReply=7\r\n"
                  "[Priority]\r\nLevel=low\r\n[UkrVer]\r\nVersion=5\r\n");
  form.Button3Click();
  form.Button3Click();
  ExpectConnected();
  EXPECT_EQ(app.zelmar.RetryCount(), 3);
  EXPECT_EQ(app.zelmar.Log().Name(), "first.log");
  EXPECT_TRUE(test::FileExists(dir.File("first.log")));
  EXPECT_FALSE(test::FileExists(dir.File("second.log")));
  EXPECT_EQ(app.Form2.priorityLevel, "high");
  EXPECT_EQ(app.Form2.ukrVersion, 5);  // read at every connect
}

}  // namespace
}  // namespace morvek
