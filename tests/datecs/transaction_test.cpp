// Datecs transactions against a fake register on a real loopback socket, with shrunk timings.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "broken_reply.h"
#include "datecs/driver_fixture.h"
#include "datecs/fake_register.h"
#include "datecs/frame.h"

namespace morvek::test {
namespace {

using namespace datecs;

using DatecsTransaction = DatecsDriverTest;

// The SEQ byte a request frame carries.
std::uint8_t Seq(const std::string& frame) {
  return frame.size() > 2 ? static_cast<std::uint8_t>(frame[2]) : 0;
}

TEST_F(DatecsTransaction, AReplyWithinTheFirstSecondIsDeliveredWithoutCountdown) {
  driver.timings.waitStepMs = 5000;  // the fake register answers at once, well within one step
  std::string request;
  DatecsFakeRegister peer({[&](DatecsPeerConnection& c) {
    request = c.ReadFrame();
    c.Send(DatecsReply(Seq(request), 0xA7, "1,QUJD"));
  }});
  ConnectTo(peer.port());
  driver.DatecsGetDocument(driver.PrinterResultsxCallback(), "0000", 1, 5, 0);
  peer.Stop();
  EXPECT_EQ(request, FrameBytes({0x01, 0x29, 0x21, 0xA7, 0x31, 0x2C, 0x35, 0x2C, 0x30, 0x05, 0x30,
                                 0x31, 0x3E, 0x34, 0x03}));
  EXPECT_EQ(driver.deliveries, 1);
  EXPECT_EQ(form2.lastDatecsResult.statusFlags, 0u);
  ASSERT_EQ(form2.lastDatecsResult.paramCount, 2);
  EXPECT_EQ(form2.lastDatecsResult.params[1], "QUJD");
  EXPECT_EQ(form2.lastDatecsResult.requestText, "1,5,0");
  EXPECT_EQ(form2.lastDatecsResult.sentFrame, request);
  EXPECT_TRUE(countdown.empty());
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DatecsTransaction, AReplyInPiecesAfterSynWhileBusyIsReadToItsEnd) {
  DatecsFakeRegister peer({[&](DatecsPeerConnection& c) {
    const std::string reply = DatecsReply(Seq(c.ReadFrame()), 0xA7, "0,WFla");
    c.Send("\x16\x16");
    c.Pause(20);
    c.Send(reply.substr(0, 7));
    c.Pause(20);
    c.Send(reply.substr(7));
  }});
  ConnectTo(peer.port());
  driver.DatecsGetDocument(driver.PrinterResultsxCallback(), "", 1, 7, 1);
  peer.Stop();
  EXPECT_EQ(form2.lastDatecsResult.statusFlags, 0u);
  EXPECT_EQ(form2.lastDatecsResult.params[1], "WFla");
  EXPECT_EQ(driver.parser.synCount, 2u);
  EXPECT_TRUE(driver.parser.rawReply.empty());  // emptied for the next exchange
  EXPECT_EQ(form2.lastDatecsResult.rawReply.front(), '\x01');
}

TEST_F(DatecsTransaction, NakAndBadChecksumAreReportedWithoutResending) {
  std::vector<std::string> requests;
  DatecsFakeRegister peer({[&](DatecsPeerConnection& c) {
    requests.push_back(c.ReadFrame());
    c.Send("\x15");
    requests.push_back(c.ReadFrame());
    std::string reply = DatecsReply(Seq(requests.back()), 0x5A, "x");
    reply[reply.size() - 2] = '0';
    c.Send(reply);
    requests.push_back(c.ReadFrame());  // nothing more comes: the client closes at the end
  }});
  ConnectTo(peer.port());
  driver.DatecsGetDiagnostics(driver.PrinterResultsxCallback(), 0, 0);
  EXPECT_EQ(form2.lastDatecsResult.statusFlags, kNakReceived);
  driver.DatecsGetDiagnostics(driver.PrinterResultsxCallback(), 0, 1);
  EXPECT_EQ(form2.lastDatecsResult.statusFlags, kChecksumError);
  form1.ClientSocket1.Deactivate();
  peer.Stop();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[2], "");
  EXPECT_NE(Seq(requests[0]), Seq(requests[1]));
  EXPECT_EQ(ui.messages,
            (std::vector<std::string>{W("Ошибка приема команды"), W("Ошибка протокола")}));
}

// Reads are counted: the first one waits until the reply is there.
TEST_F(DatecsTransaction, BrokenReplyEndsItsExchangeAtItsEtxAsAProtocolError) {
  driver.timings.waitStepMs = 100;
  for (const auto& [how, name] : kReplyBreaks) {
    DatecsFakeRegister peer({[how = how](DatecsPeerConnection& c) {
      c.Send(Broken(DatecsReply(Seq(c.ReadFrame()), 0xA7, "1,QUJD"), how, 4));
    }});
    ConnectTo(peer.port());
    ui.messages.clear();
    form1.ClientSocket1.reads = 0;
    driver.DatecsGetDocument(driver.PrinterResultsxCallback(), "", 1, 5, 0);
    form1.ClientSocket1.Deactivate();
    peer.Stop();
    EXPECT_EQ(form2.lastDatecsResult.statusFlags, kChecksumError) << name;
    EXPECT_EQ(ui.messages, std::vector<std::string>{W("Ошибка протокола")}) << name;
    EXPECT_EQ(form1.ClientSocket1.reads, 1) << name;
  }
}

TEST_F(DatecsTransaction, ReplyWithoutDataAndLenOneShortEndsAtItsEtx) {
  // LEN 2Ah is below what any reply carries: the parse falls back before the SEQ, which the
  // driver must not compare then.
  driver.timings.waitStepMs = 100;
  DatecsFakeRegister peer({[](DatecsPeerConnection& c) {
    c.Send(Broken(DatecsReply(Seq(c.ReadFrame()), 0xEB, ""), ReplyBreak::kLengthOneShort, 4));
  }});
  ConnectTo(peer.port());
  driver.DatecsPrintInterval(driver.PrinterResultsxCallback(), "", 7, 3);
  peer.Stop();
  EXPECT_EQ(form2.lastDatecsResult.statusFlags, kChecksumError);
  EXPECT_EQ(ui.messages, std::vector<std::string>{W("Ошибка протокола")});
  EXPECT_EQ(form1.ClientSocket1.reads, 1);
}

TEST_F(DatecsTransaction, StrayEtxBeforeTheReplyIsDropped) {
  DatecsFakeRegister peer({[](DatecsPeerConnection& c) {
    c.Send("\x03" + DatecsReply(Seq(c.ReadFrame()), 0xA7, "1,QUJD"));
  }});
  ConnectTo(peer.port());
  driver.DatecsGetDocument(driver.PrinterResultsxCallback(), "", 1, 5, 0);
  peer.Stop();
  EXPECT_EQ(form2.lastDatecsResult.statusFlags, 0u);
  EXPECT_EQ(form2.lastDatecsResult.params[1], "QUJD");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DatecsTransaction, SilentSecondsCountDownInTheWaitWindowUntilTheReply) {
  std::atomic<bool> speak{false};
  ui.onProcessMessages = [&] {
    if (ui.processed == 3) speak = true;
  };
  DatecsFakeRegister peer({[&](DatecsPeerConnection& c) {
    const std::string request = c.ReadFrame();
    if (c.WaitFor(speak)) c.Send(DatecsReply(Seq(request), 0xEB, ""));
  }});
  ConnectTo(peer.port());
  driver.DatecsPrintInterval(driver.PrinterResultsxCallback(), "", 7, 3);
  peer.Stop();
  ASSERT_GE(countdown.size(), 3u);
  EXPECT_EQ(countdown[0], "3 : 59");
  EXPECT_EQ(countdown[1], "3 : 58");
  EXPECT_EQ(countdown[2], "3 : 57");
  EXPECT_EQ(form2.lastDatecsResult.statusFlags, 0u);
  EXPECT_FALSE(form5.visible);
}

TEST_F(DatecsTransaction, ASilentRegisterGetsTwoAttemptsThenTimesOut) {
  DatecsFakeRegister peer({[&](DatecsPeerConnection& c) { c.ReadFrame(); }});
  ConnectTo(peer.port());
  driver.DatecsGetDiagnostics(driver.PrinterResultsxCallback(), 0, 0);
  peer.Stop();
  ASSERT_EQ(countdown.size(), 120u);
  EXPECT_EQ(countdown[59], "3 : 0");
  EXPECT_EQ(countdown[60], "2 : 59");
  EXPECT_EQ(form2.lastDatecsResult.statusFlags, kNoReply);
  EXPECT_EQ(form2.lastDatecsResult.paramCount, 0);
  EXPECT_EQ(ui.messages, std::vector<std::string>{W("Таймаут")});
  EXPECT_FALSE(form5.visible);
}

TEST_F(DatecsTransaction, AbortEndsTheWaitAndStaysSetForTheNextTransaction) {
  ui.onProcessMessages = [&] { form5.Button1Click(); };
  DatecsFakeRegister peer({[&](DatecsPeerConnection& c) {
    c.ReadFrame();
    c.ReadFrame();
  }});
  ConnectTo(peer.port());
  driver.DatecsGetDiagnostics(driver.PrinterResultsxCallback(), 0, 0);
  EXPECT_EQ(countdown, std::vector<std::string>{"3 : 59"});
  EXPECT_EQ(form2.lastDatecsResult.statusFlags, kNoReply);
  ui.onProcessMessages = nullptr;
  driver.DatecsGetDiagnostics(driver.PrinterResultsxCallback(), 0, 0);
  peer.Stop();
  EXPECT_EQ(countdown, (std::vector<std::string>{"3 : 59", "3 : 59"}));
  EXPECT_TRUE(form5.IsAborted());
}

TEST_F(DatecsTransaction, APeerStreamingGarbageOrSynForEverIsCutOff) {
  for (const char filler : {'x', '\x16'}) {
    DatecsFakeRegister peer({[&](DatecsPeerConnection& c) {
      c.ReadFrame();
      const std::string chunk(64, filler);
      while (!c.Stopping() && send(c.fd(), chunk.data(), chunk.size(), MSG_NOSIGNAL) > 0)
        c.Pause(1);
    }});
    ConnectTo(peer.port());
    driver.DatecsGetDiagnostics(driver.PrinterResultsxCallback(), 0, 0);
    form1.ClientSocket1.Deactivate();
    peer.Stop();
    EXPECT_EQ(form2.lastDatecsResult.statusFlags, kNoReply);
    EXPECT_LE(form2.lastDatecsResult.rawReply.size(), kRawReplyBytes);
  }
}

TEST_F(DatecsTransaction, ASocketErrorReconnectsAnnouncesAndDeliversNothing) {
  // The abort set below ends each countdown after its first silent step: a step long enough
  // that the server's answers always come within it, however busy the machine.
  driver.timings.waitStepMs = 1000;
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
  form2.lastDatecsResult.params[0] = "before";
  form5.SetAborted(true);
  driver.DatecsGetDocument(driver.PrinterResultsxCallback(), "", 1, 5, 0);
  EXPECT_EQ(driver.deliveries, 0);
  EXPECT_EQ(form2.lastDatecsResult.params[0], "before");
  EXPECT_FALSE(form5.IsAborted());
  EXPECT_FALSE(form5.visible);
  EXPECT_TRUE(driver.registerAccepted);
  EXPECT_TRUE(ui.messages.empty());
  driver.DatecsGetDocument(driver.PrinterResultsxCallback(), "", 1, 5, 1);
  peer.Stop();
  EXPECT_EQ(announcement, std::string("4000123\0\0", 9));
  EXPECT_EQ(driver.deliveries, 1);
  EXPECT_EQ(form2.lastDatecsResult.params[0], "-1");
  EXPECT_EQ(second.substr(4, 5), "1,5,1");
}

TEST_F(DatecsTransaction, NoCommandGoesToAServerThatDidNotAnswerReady) {
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
  driver.DatecsGetDiagnostics(driver.PrinterResultsxCallback(), 0, 0);
  EXPECT_FALSE(driver.registerAccepted);
  EXPECT_FALSE(form1.ClientSocket1.IsActive());
  driver.DatecsGetDiagnostics(driver.PrinterResultsxCallback(), 0, 0);
  EXPECT_EQ(peer.connections(), 3);
  EXPECT_EQ(driver.deliveries, 1);
  EXPECT_EQ(form2.lastDatecsResult.statusFlags, kNoReply);
  EXPECT_EQ(form2.lastDatecsResult.sentFrame, "");
  EXPECT_EQ(ui.messages, std::vector<std::string>{W("Таймаут")});
  // The next command announces the register again first, and goes out once it is accepted.
  driver.DatecsGetDiagnostics(driver.PrinterResultsxCallback(), 0, 0);
  peer.Stop();
  EXPECT_TRUE(driver.registerAccepted);
  EXPECT_EQ(peer.connections(), 4);
  EXPECT_EQ(afterRefusal, "");  // nothing was sent after the refusal
  EXPECT_EQ(form2.lastDatecsResult.params[0], "ZL-01");
}

// The server's answer to the reconnect announcement, sent in pieces a short pause apart.
struct SplitAnswerCase {
  const char* name;
  std::vector<std::string> pieces;
  bool accepted;
};

class DatecsSplitAnswer : public DatecsDriverTest,
                          public ::testing::WithParamInterface<SplitAnswerCase> {};

TEST_P(DatecsSplitAnswer, ReconnectReadsOnWhileTheAnswerMayStillBecomeReady) {
  driver.timings.waitStepMs = 1000;  // the pieces come well within one countdown
  const SplitAnswerCase& answer = GetParam();
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
  driver.DatecsGetDocument(driver.PrinterResultsxCallback(), "", 1, 5, 0);
  ASSERT_EQ(driver.registerAccepted, answer.accepted);
  EXPECT_EQ(form1.ClientSocket1.IsActive(), answer.accepted);
  EXPECT_FALSE(form5.visible);
  if (!answer.accepted) return;
  // The next command goes out over the accepted connection.
  driver.DatecsGetDocument(driver.PrinterResultsxCallback(), "", 1, 5, 1);
  peer.Stop();
  EXPECT_EQ(next.substr(4, 5), "1,5,1");
  EXPECT_EQ(driver.deliveries, 1);
  EXPECT_EQ(form2.lastDatecsResult.params[0], "-1");
}

INSTANTIATE_TEST_SUITE_P(
    , DatecsSplitAnswer,
    testing::Values(SplitAnswerCase{"ReadyInFour", {"R", "e", "a", "dy"}, true},
                    SplitAnswerCase{"OtherWordAfterAPiece", {"Re", "adY"}, false}),
    [](const testing::TestParamInfo<SplitAnswerCase>& param) {
      return std::string(param.param.name);
    });

}  // namespace
}  // namespace morvek::test
