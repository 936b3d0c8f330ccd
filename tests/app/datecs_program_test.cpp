// The Datecs driver inside the program: the result callback, and the way back after a socket
// error (the server of the main window connected again, the register announced in the 9-byte
// form, "Ready" awaited with the driver's countdown in the wait window, nothing resent).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/application.h"
#include "datecs/driver_fixture.h"
#include "datecs/fake_register.h"

namespace morvek::test {
namespace {

using namespace datecs;

std::uint8_t Seq(const std::string& frame) {
  return frame.size() > 2 ? static_cast<std::uint8_t>(frame[2]) : 0;
}

class DatecsProgram : public ::testing::Test {
 protected:
  // waitStepMs: one second of the driver's countdown.
  explicit DatecsProgram(int waitStepMs = 1)
      : app(ui, {.handshake = {},
                 .zelmar = {},
                 .datecs = {.streamTimeoutMs = 50, .waitStepMs = waitStepMs, .readOnTimeouts = 10},
                 .blocks = {}}) {
    socket.SetHost("127.0.0.1");
    socket.connectTimeoutMs = 2000;
    app.Form3.Edit1.text = "127.0.0.1";
    app.Form3.Edit2.text = "4000123";
  }
  void ConnectTo(int port) {
    socket.SetPort(port);
    socket.Activate();
  }

  RecordingUi ui;
  Application app;
  ClientSocket& socket = app.Form1.ClientSocket1;
  DatecsDriver& driver = app.datecs;
  RetData& last = app.Form2.lastDatecsResult;
};

// Countdown seconds long enough that the server's answers always come within one, however busy
// the machine.
class DatecsProgramLongSteps : public DatecsProgram {
 protected:
  DatecsProgramLongSteps() : DatecsProgram(1000) {}
};

TEST_F(DatecsProgram, PrinterResultsxKeepsACopyAndShowsTheFirstError) {
  RetData record;
  record.params[1] = "QUJD";
  record.statusFlags = 1u << 5 | 1u << 20;
  app.PrinterResultsx(record);
  record.params[1] = "WFla";
  EXPECT_EQ(last.params[1], "QUJD");
  EXPECT_EQ(ui.messages,
            std::vector<std::string>{
                W("Команда не разрешена - Возможен запрос несуществующего номера чека")});
}

// The abort set below ends each countdown after its first silent step.
TEST_F(DatecsProgramLongSteps, ASocketErrorReconnectsAnnouncesAndDeliversNothing) {
  std::string announcement, second;
  DatecsFakeRegister peer({[&](DatecsPeerConnection& c) {
                             c.ReadFrame();
                             c.Close();
                           },
                           [&](DatecsPeerConnection& c) {
                             announcement = c.ReadBytes(9);
                             c.Send("Ready");
                             second = c.ReadFrame();
                             c.Send(DatecsReply(Seq(second), 0xA7, "-1"));
                           }});
  ConnectTo(peer.port());
  last.params[0] = "before";
  app.Form5.SetAborted(true);
  driver.DatecsGetDocument(app.PrinterResultsxCallback(), "", 1, 5, 0);
  EXPECT_EQ(driver.deliveries, 0);
  EXPECT_EQ(last.params[0], "before");
  EXPECT_FALSE(app.Form5.IsAborted());
  EXPECT_FALSE(app.Form5.visible);
  EXPECT_TRUE(driver.registerAccepted);
  EXPECT_TRUE(ui.messages.empty());
  driver.DatecsGetDocument(app.PrinterResultsxCallback(), "", 1, 5, 1);
  peer.Stop();
  EXPECT_EQ(announcement, std::string("4000123\0\0", 9));
  EXPECT_EQ(driver.deliveries, 1);
  EXPECT_EQ(last.params[0], "-1");
  EXPECT_EQ(second.substr(4, 5), "1,5,1");
}

TEST_F(DatecsProgram, NoCommandGoesToAServerThatDidNotAnswerReady) {
  std::string afterRefusal = "unset";
  DatecsFakeRegister peer({[&](DatecsPeerConnection& c) {
                             c.ReadFrame();
                             c.Close();
                           },
                           [&](DatecsPeerConnection& c) {
                             c.ReadBytes(9);
                             c.Send("Ready\r\n");
                           },
                           [&](DatecsPeerConnection& c) {
                             c.ReadBytes(9);
                             c.Send("Busy");
                             afterRefusal = c.ReadFrame();
                           },
                           [&](DatecsPeerConnection& c) {
                             c.ReadBytes(9);
                             c.Send("Ready");
                             c.Send(DatecsReply(Seq(c.ReadFrame()), 0x5A, "ZL-01"));
                           }});
  ConnectTo(peer.port());
  driver.DatecsGetDiagnostics(app.PrinterResultsxCallback(), 0, 0);
  EXPECT_FALSE(driver.registerAccepted);
  EXPECT_FALSE(socket.IsActive());
  driver.DatecsGetDiagnostics(app.PrinterResultsxCallback(), 0, 0);
  EXPECT_EQ(peer.connections(), 3);
  EXPECT_EQ(driver.deliveries, 1);
  EXPECT_EQ(last.statusFlags, kNoReply);
  EXPECT_EQ(last.sentFrame, "");
  EXPECT_EQ(ui.messages, std::vector<std::string>{W("Таймаут")});
  // The next command announces the register again first, and goes out once it is accepted.
  driver.DatecsGetDiagnostics(app.PrinterResultsxCallback(), 0, 0);
  peer.Stop();
  EXPECT_TRUE(driver.registerAccepted);
  EXPECT_EQ(peer.connections(), 4);
  EXPECT_EQ(afterRefusal, "");  // nothing was sent after the refusal
  EXPECT_EQ(last.params[0], "ZL-01");
}

// The server's answer to the reconnect announcement, sent in pieces a short pause apart.
TEST_F(DatecsProgramLongSteps, AnAnswerIsReadOnWhileItMayStillBecomeReady) {
  struct Case {
    std::vector<std::string> pieces;
    bool accepted;
  };
  const Case cases[] = {{{"R", "e", "a", "dy"}, true}, {{"Re", "adY"}, false}};
  for (const Case& answer : cases) {
    std::string next;
    DatecsFakeRegister peer({[&](DatecsPeerConnection& c) {
                               c.ReadFrame();
                               c.Close();
                             },
                             [&](DatecsPeerConnection& c) {
                               c.ReadBytes(9);
                               for (const std::string& piece : answer.pieces) {
                                 c.Send(piece);
                                 c.Pause(20);
                               }
                               if (!answer.accepted) return;
                               next = c.ReadFrame();
                               c.Send(DatecsReply(Seq(next), 0xA7, "-1"));
                             }});
    ConnectTo(peer.port());
    driver.DatecsGetDocument(app.PrinterResultsxCallback(), "", 1, 5, 0);
    ASSERT_EQ(driver.registerAccepted, answer.accepted) << answer.pieces[0];
    EXPECT_EQ(socket.IsActive(), answer.accepted);
    EXPECT_FALSE(app.Form5.visible);
    if (answer.accepted) {
      // The next command goes out over the accepted connection.
      const long deliveries = driver.deliveries;
      driver.DatecsGetDocument(app.PrinterResultsxCallback(), "", 1, 5, 1);
      EXPECT_EQ(next.substr(4, 5), "1,5,1");
      EXPECT_EQ(driver.deliveries, deliveries + 1);
      EXPECT_EQ(last.params[0], "-1");
    }
    peer.Stop();
    socket.Deactivate();
    driver.registerAccepted = true;
  }
}

}  // namespace
}  // namespace morvek::test
