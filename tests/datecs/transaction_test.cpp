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

// Countdown seconds of kStepMs, for a register that answers well within the first one.
template <int kStepMs>
class DatecsTransactionSteps : public DatecsDriverTest {
 protected:
  DatecsTransactionSteps() : DatecsDriverTest(kStepMs) {}
};
using DatecsTransaction5sSteps = DatecsTransactionSteps<5000>;
using DatecsTransaction100msSteps = DatecsTransactionSteps<100>;

// The SEQ byte a request frame carries.
std::uint8_t Seq(const std::string& frame) {
  return frame.size() > 2 ? static_cast<std::uint8_t>(frame[2]) : 0;
}

TEST_F(DatecsTransaction5sSteps, AReplyWithinTheFirstSecondIsDeliveredWithoutCountdown) {
  std::string request;
  DatecsFakeRegister peer({[&](DatecsPeerConnection& c) {
    request = c.ReadFrame();
    c.Send(DatecsReply(Seq(request), 0xA7, "1,QUJD"));
  }});
  ConnectTo(peer.port());
  driver.DatecsGetDocument(Deliver(), "0000", 1, 5, 0);
  peer.Stop();
  EXPECT_EQ(request, FrameBytes({0x01, 0x29, 0x21, 0xA7, 0x31, 0x2C, 0x35, 0x2C, 0x30, 0x05, 0x30,
                                 0x31, 0x3E, 0x34, 0x03}));
  EXPECT_EQ(driver.deliveries, 1);
  EXPECT_EQ(last.statusFlags, 0u);
  ASSERT_EQ(last.paramCount, 2);
  EXPECT_EQ(last.params[1], "QUJD");
  EXPECT_EQ(last.requestText, "1,5,0");
  EXPECT_EQ(last.sentFrame, request);
  EXPECT_TRUE(countdown.empty());
  EXPECT_TRUE(messages.empty());
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
  driver.DatecsGetDocument(Deliver(), "", 1, 7, 1);
  peer.Stop();
  EXPECT_EQ(last.statusFlags, 0u);
  EXPECT_EQ(last.params[1], "WFla");
  EXPECT_EQ(driver.parser.synCount, 2u);
  EXPECT_TRUE(driver.parser.rawReply.empty());  // emptied for the next exchange
  EXPECT_EQ(last.rawReply.front(), '\x01');
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
  driver.DatecsGetDiagnostics(Deliver(), 0, 0);
  EXPECT_EQ(last.statusFlags, kNakReceived);
  driver.DatecsGetDiagnostics(Deliver(), 0, 1);
  EXPECT_EQ(last.statusFlags, kChecksumError);
  socket.Deactivate();
  peer.Stop();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[2], "");
  EXPECT_NE(Seq(requests[0]), Seq(requests[1]));
  EXPECT_EQ(messages,
            (std::vector<std::string>{W("Ошибка приема команды"), W("Ошибка протокола")}));
}

// Reads are counted: the first one waits until the reply is there.
TEST_F(DatecsTransaction100msSteps, BrokenReplyEndsItsExchangeAtItsEtxAsAProtocolError) {
  for (const auto& [how, name] : kReplyBreaks) {
    DatecsFakeRegister peer({[how = how](DatecsPeerConnection& c) {
      c.Send(Broken(DatecsReply(Seq(c.ReadFrame()), 0xA7, "1,QUJD"), how, 4));
    }});
    ConnectTo(peer.port());
    messages.clear();
    socket.reads = 0;
    driver.DatecsGetDocument(Deliver(), "", 1, 5, 0);
    socket.Deactivate();
    peer.Stop();
    EXPECT_EQ(last.statusFlags, kChecksumError) << name;
    EXPECT_EQ(messages, std::vector<std::string>{W("Ошибка протокола")}) << name;
    EXPECT_EQ(socket.reads, 1) << name;
  }
}

TEST_F(DatecsTransaction100msSteps, ReplyWithoutDataAndLenOneShortEndsAtItsEtx) {
  // LEN 2Ah is below what any reply carries: the parse falls back before the SEQ, which the
  // driver must not compare then.
  DatecsFakeRegister peer({[](DatecsPeerConnection& c) {
    c.Send(Broken(DatecsReply(Seq(c.ReadFrame()), 0xEB, ""), ReplyBreak::kLengthOneShort, 4));
  }});
  ConnectTo(peer.port());
  driver.DatecsPrintInterval(Deliver(), "", 7, 3);
  peer.Stop();
  EXPECT_EQ(last.statusFlags, kChecksumError);
  EXPECT_EQ(messages, std::vector<std::string>{W("Ошибка протокола")});
  EXPECT_EQ(socket.reads, 1);
}

TEST_F(DatecsTransaction, StrayEtxBeforeTheReplyIsDropped) {
  DatecsFakeRegister peer({[](DatecsPeerConnection& c) {
    c.Send("\x03" + DatecsReply(Seq(c.ReadFrame()), 0xA7, "1,QUJD"));
  }});
  ConnectTo(peer.port());
  driver.DatecsGetDocument(Deliver(), "", 1, 5, 0);
  peer.Stop();
  EXPECT_EQ(last.statusFlags, 0u);
  EXPECT_EQ(last.params[1], "QUJD");
  EXPECT_TRUE(messages.empty());
}

TEST_F(DatecsTransaction, SilentSecondsCountDownInTheWaitWindowUntilTheReply) {
  std::atomic<bool> speak{false};
  onCountdown = [&] {
    if (countdown.size() == 3) speak = true;
  };
  DatecsFakeRegister peer({[&](DatecsPeerConnection& c) {
    const std::string request = c.ReadFrame();
    if (c.WaitFor(speak)) c.Send(DatecsReply(Seq(request), 0xEB, ""));
  }});
  ConnectTo(peer.port());
  driver.DatecsPrintInterval(Deliver(), "", 7, 3);
  peer.Stop();
  ASSERT_GE(countdown.size(), 3u);
  EXPECT_EQ(countdown[0], "3 : 59");
  EXPECT_EQ(countdown[1], "3 : 58");
  EXPECT_EQ(countdown[2], "3 : 57");
  EXPECT_EQ(last.statusFlags, 0u);
  EXPECT_FALSE(waitShown);
}

TEST_F(DatecsTransaction, ASilentRegisterGetsTwoAttemptsThenTimesOut) {
  DatecsFakeRegister peer({[&](DatecsPeerConnection& c) { c.ReadFrame(); }});
  ConnectTo(peer.port());
  driver.DatecsGetDiagnostics(Deliver(), 0, 0);
  peer.Stop();
  ASSERT_EQ(countdown.size(), 120u);
  EXPECT_EQ(countdown[59], "3 : 0");
  EXPECT_EQ(countdown[60], "2 : 59");
  EXPECT_EQ(last.statusFlags, kNoReply);
  EXPECT_EQ(last.paramCount, 0);
  EXPECT_EQ(messages, std::vector<std::string>{W("Таймаут")});
  EXPECT_FALSE(waitShown);
}

TEST_F(DatecsTransaction, AbortEndsTheWaitAndStaysSetForTheNextTransaction) {
  aborted = true;  // the operator presses "Прервать" at the first silent second
  DatecsFakeRegister peer({[&](DatecsPeerConnection& c) {
    c.ReadFrame();
    c.ReadFrame();
  }});
  ConnectTo(peer.port());
  driver.DatecsGetDiagnostics(Deliver(), 0, 0);
  EXPECT_EQ(countdown, std::vector<std::string>{"3 : 59"});
  EXPECT_EQ(last.statusFlags, kNoReply);
  driver.DatecsGetDiagnostics(Deliver(), 0, 0);
  peer.Stop();
  EXPECT_EQ(countdown, (std::vector<std::string>{"3 : 59", "3 : 59"}));
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
    driver.DatecsGetDiagnostics(Deliver(), 0, 0);
    socket.Deactivate();
    peer.Stop();
    EXPECT_EQ(last.statusFlags, kNoReply);
    EXPECT_LE(last.rawReply.size(), kRawReplyBytes);
  }
}

// A socket error delivers nothing and has the register announced again; while the server has not
// taken it, no command goes out and the caller sees a missing reply.
TEST_F(DatecsTransaction, AfterASocketErrorNoCommandGoesOutUntilTheRegisterIsAnnounced) {
  int reannounced = 0;
  driver.hooks.reannounce = [&] {
    ++reannounced;
    return false;
  };
  DatecsFakeRegister peer({[&](DatecsPeerConnection& c) {
    c.ReadFrame();
    c.Close();
  }});
  ConnectTo(peer.port());
  driver.DatecsGetDiagnostics(Deliver(), 0, 0);
  EXPECT_EQ(driver.deliveries, 0);
  EXPECT_FALSE(driver.registerAccepted);
  driver.DatecsGetDiagnostics(Deliver(), 0, 0);
  peer.Stop();
  EXPECT_EQ(reannounced, 2);
  EXPECT_EQ(driver.deliveries, 1);
  EXPECT_EQ(last.statusFlags, kNoReply);
  EXPECT_EQ(last.sentFrame, "");
}

}  // namespace
}  // namespace morvek::test
