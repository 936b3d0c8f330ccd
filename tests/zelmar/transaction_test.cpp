// Zelmar transactions against a fake register on a real loopback socket.
#include "zelmar/transaction.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "broken_reply.h"
#include "fake_register.h"
#include "test_support.h"
#include "zelmar/commands.h"

namespace morvek {
namespace {

using test::FakeRegister;
using test::ZelmarReply;

constexpr std::uint32_t kNoReply = ZelmarResult::kNoReply;

ZelmarTimings Quick() {
  ZelmarTimings t;
  t.streamTimeoutMs = 200;
  t.waitSliceMs = 5;
  t.receiveLimitMs = 10000;
  return t;
}

// A silent register is given up on after a few milliseconds.
ZelmarTimings Impatient() {
  ZelmarTimings t;
  t.streamTimeoutMs = 2;
  t.waitSliceMs = 1;
  t.waitSlices = 2;
  t.receiveLimitMs = 10000;
  return t;
}

std::uint8_t Seq(const std::string& frame) {
  return static_cast<std::uint8_t>(frame.at(2));
}
std::uint8_t Cmd(const std::string& frame) {
  return static_cast<std::uint8_t>(frame.at(3));
}
// The parameter text of a request frame.
std::string DataOf(const std::string& frame) {
  return frame.substr(4, frame.size() - 10);
}

// Answers every request with "0000" and the given data.
FakeRegister::Script AnswerAll(std::string data) {
  return [data](FakeRegister& peer) {
    for (std::string f; !(f = peer.ReadFrame()).empty();)
      peer.Send(ZelmarReply(Seq(f), Cmd(f), "0000", data));
  };
}

struct Rig {
  explicit Rig(FakeRegister::Script script, ZelmarTimings timings = Quick())
      : peer(std::move(script)), driver(socket, ui, timings) {
    socket.SetHost("127.0.0.1");
    socket.SetPort(peer.port());
    socket.Activate();
  }
  FakeRegister peer;
  test::RecordingUi ui;
  ClientSocket socket;
  ZelmarDriver driver;
};

TEST(ZelmarTransaction, GoodReplyFillsTheRecord) {
  Rig rig(AnswerAll("1;PD94bWw=;"));
  const ZelmarResult* r = rig.driver.ZelmarExecute(0xA7, "582941;1;25;0;");
  EXPECT_EQ(r->statusFlags, 0u);
  EXPECT_EQ(r->statusCode, "0000");
  EXPECT_EQ(r->paramCount, 2);
  EXPECT_EQ(r->params[0], "1");
  EXPECT_EQ(r->params[1], "PD94bWw=");
  EXPECT_EQ(r->dataCopy, "1;PD94bWw=;");
  EXPECT_EQ(r->command, 0xA7);
  EXPECT_EQ(r->commandName, ZelmarCommandCaption(0xA7));
  EXPECT_EQ(r->requestText, "582941;1;25;0;");
  EXPECT_EQ(r->statusBytes[0], 0);
  EXPECT_TRUE(ZelmarReplyHasShape(r->rawReply));
  EXPECT_EQ(rig.ui.sleptMs, 0);
  rig.peer.Stop();
  ASSERT_EQ(rig.peer.frames().size(), 1u);
  EXPECT_EQ(rig.peer.frames()[0], r->sentFrame);
  EXPECT_EQ(Seq(r->sentFrame), 0x21);
}

TEST(ZelmarTransaction, ReplyInPiecesAndAfterSynIsAssembled) {
  Rig rig([](FakeRegister& peer) {
    const std::string f = peer.ReadFrame();
    const std::string reply = ZelmarReply(Seq(f), Cmd(f), "0000", "a;b");
    peer.Send("\x16\x16");
    for (std::size_t at = 0; at < reply.size(); at += 7) {
      peer.Send(reply.substr(at, 7));
      peer.Send("");
      std::this_thread::sleep_for(std::chrono::milliseconds(2));  // separate reads, likely
    }
    peer.DrainFrames();
  });
  const ZelmarResult* r = rig.driver.ZelmarExecute(0x80, "582941;");
  EXPECT_EQ(r->statusFlags, 0u);
  EXPECT_EQ(r->paramCount, 2);
  EXPECT_EQ(rig.driver.Parser().synCount, 2);
  EXPECT_EQ(r->rawReply.find('\x16'), std::string::npos);
}

TEST(ZelmarTransaction, NakIsResentWithTheSameSequenceAfterThePause) {
  Rig rig([](FakeRegister& peer) {
    peer.ReadFrame();
    peer.Send("\x15");
    for (std::string f; !(f = peer.ReadFrame()).empty();)
      peer.Send(ZelmarReply(Seq(f), Cmd(f), "0000", "ok"));
  });
  const ZelmarResult* r = rig.driver.ZelmarExecute(0x80, "582941;");
  EXPECT_EQ(r->statusFlags, 0u);
  EXPECT_EQ(r->params[0], "ok");
  EXPECT_EQ(rig.ui.sleptMs, 2000);
  rig.driver.ZelmarExecute(0x80, "582941;");
  rig.peer.Stop();
  const auto frames = rig.peer.frames();
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[0], frames[1]);
  EXPECT_EQ(Seq(frames[2]), Seq(frames[0]) + 1);
}

TEST(ZelmarTransaction, NakOnEveryTryReportsNak) {
  Rig rig([](FakeRegister& peer) {
    while (!peer.ReadFrame().empty()) peer.Send("\x15");
  });
  rig.driver.ZelmarSetRetryCount(1);
  const ZelmarResult* r = rig.driver.ZelmarExecute(0x80, "582941;");
  EXPECT_EQ(r->statusFlags, ZelmarResult::kNak);
  EXPECT_EQ(r->rawReply, "\x15");
  rig.peer.Stop();
  EXPECT_EQ(rig.peer.frames().size(), 2u);
}

TEST(ZelmarTransaction, BadChecksumIsReportedWithoutResend) {
  Rig rig([](FakeRegister& peer) {
    for (std::string f; !(f = peer.ReadFrame()).empty();) {
      std::string reply = ZelmarReply(Seq(f), Cmd(f), "0000", "x");
      reply[reply.size() - 2] ^= 1;
      peer.Send(reply);
    }
  });
  const ZelmarResult* r = rig.driver.ZelmarExecute(0x80, "582941;");
  EXPECT_EQ(r->statusFlags, ZelmarResult::kChecksumError);
  EXPECT_EQ(r->statusCode, "0000");
  EXPECT_EQ(rig.ui.sleptMs, 0);
  rig.peer.Stop();
  EXPECT_EQ(rig.peer.frames().size(), 1u);
}

TEST(ZelmarTransaction, BrokenReplyEndsItsExchangeAtItsEtx) {
  for (const auto& [how, name] : test::kReplyBreaks) {
    Rig rig([how = how](FakeRegister& peer) {
      for (int n = 0;; ++n) {
        const std::string f = peer.ReadFrame();
        if (f.empty()) return;
        const std::string reply = ZelmarReply(Seq(f), Cmd(f), "0000", "1;QUJD");
        peer.Send(n == 0 ? test::Broken(reply, how, 9) : reply);
      }
    });
    const ZelmarResult* r = rig.driver.ZelmarExecute(0xA7, "582941;1;25;0;");
    // Without ENQ the reply has not the shape of one: it is sent again after the pause, and the
    // good reply to that is taken. The others are reported as checksum errors, not resent.
    const bool resent = how == test::ReplyBreak::kNoEnq;
    EXPECT_EQ(r->statusFlags, resent ? 0u : ZelmarResult::kChecksumError) << name;
    EXPECT_EQ(rig.ui.sleptMs, resent ? 2000 : 0) << name;
    // One read for each reply: none waits on after the ETX.
    EXPECT_EQ(rig.socket.reads, resent ? 2 : 1) << name;
    rig.peer.Stop();
    EXPECT_EQ(rig.peer.frames().size(), resent ? 2u : 1u) << name;
  }
}

// The register's busy bytes or line noise right behind a good reply, in the same read, neither
// spoil its checksum nor its shape.
TEST(ZelmarTransaction, BytesBehindAGoodReplyInTheSameReadAreDropped) {
  for (const std::string tail : {"\x16", "\x16\x16x", "\x01"}) {
    Rig rig([tail](FakeRegister& peer) {
      for (std::string f; !(f = peer.ReadFrame()).empty();)
        peer.Send(ZelmarReply(Seq(f), Cmd(f), "0000", "1;QUJD") + tail);
    });
    const ZelmarResult* r = rig.driver.ZelmarExecute(0xA7, "582941;1;25;0;");
    EXPECT_EQ(r->statusFlags, 0u);
    EXPECT_EQ(r->paramCount, 2);
    EXPECT_EQ(rig.ui.sleptMs, 0) << "not resent";
  }
}

TEST(ZelmarTransaction, SilenceIsResentRetryCountTimesWithTheSameSequence) {
  Rig rig([](FakeRegister& peer) { peer.DrainFrames(); }, Impatient());
  rig.driver.ZelmarSetRetryCount(2);
  const ZelmarResult* r = rig.driver.ZelmarExecute(0x80, "582941;");
  EXPECT_EQ(r->statusFlags, kNoReply);
  EXPECT_EQ(r->paramCount, 0);
  EXPECT_EQ(rig.ui.sleptMs, 4000);
  rig.peer.Stop();
  const auto frames = rig.peer.frames();
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[1], frames[0]);
  EXPECT_EQ(frames[2], frames[0]);
}

TEST(ZelmarTransaction, RetryCountZeroSendsOnce) {
  Rig rig([](FakeRegister& peer) { peer.DrainFrames(); }, Impatient());
  rig.driver.ZelmarSetRetryCount(0);
  EXPECT_EQ(rig.driver.ZelmarExecute(0x80, "582941;")->statusFlags, kNoReply);
  rig.peer.Stop();
  EXPECT_EQ(rig.peer.frames().size(), 1u);
  EXPECT_EQ(rig.ui.sleptMs, 0);
}

TEST(ZelmarTransaction, NoReplyKeepsThePreviousStatusCodeAndEmptyDataThePreviousParams) {
  int exchange = 0;
  Rig rig(
      [&exchange](FakeRegister& peer) {
        for (std::string f; !(f = peer.ReadFrame()).empty(); ++exchange) {
          if (exchange == 0) peer.Send(ZelmarReply(Seq(f), Cmd(f), "0000", "p;q"));
          if (exchange == 1) peer.Send(ZelmarReply(Seq(f), Cmd(f), "0CD0", ""));
        }
      },
      Impatient());
  rig.driver.ZelmarSetRetryCount(0);
  rig.driver.ZelmarExecute(0x80, "1;");
  const ZelmarResult* r = rig.driver.ZelmarExecute(0x80, "1;");
  EXPECT_EQ(r->statusCode, "0CD0");
  EXPECT_EQ(r->paramCount, 0);
  EXPECT_EQ(r->params[1], "q");
  r = rig.driver.ZelmarExecute(0x80, "1;");
  EXPECT_EQ(r->statusFlags, kNoReply);
  EXPECT_EQ(r->statusCode, "0CD0");
}

TEST(ZelmarTransaction, ForeignReplyIsDroppedAndFlaggedUntilTheOwnReplyComes) {
  bool answer = false;
  Rig rig(
      [&answer](FakeRegister& peer) {
        for (std::string f; !(f = peer.ReadFrame()).empty();) {
          peer.Send(ZelmarReply(static_cast<std::uint8_t>(Seq(f) + 1), Cmd(f), "0000", "old"));
          if (answer) peer.Send(ZelmarReply(Seq(f), Cmd(f), "0000", "new"));
          answer = true;
        }
      },
      Impatient());
  rig.driver.ZelmarSetRetryCount(0);
  const ZelmarResult* r = rig.driver.ZelmarExecute(0xA7, "1;1;1;0;");
  EXPECT_EQ(r->statusFlags, kNoReply);
  EXPECT_TRUE(rig.driver.foreignReply);
  EXPECT_EQ(r->rawReply, "");
  r = rig.driver.ZelmarExecute(0xA7, "1;1;1;0;");
  EXPECT_EQ(r->statusFlags, 0u);
  EXPECT_EQ(r->params[0], "new");
  EXPECT_FALSE(rig.driver.foreignReply);
}

TEST(ZelmarTransaction, ForeignReplyAtTheEndOfARunOfReadsIsDroppedAndStaysFlagged) {
  Rig rig(
      [](FakeRegister& peer) {
        for (std::string f; !(f = peer.ReadFrame()).empty();)
          peer.Send(ZelmarReply(Seq(f), static_cast<std::uint8_t>(Cmd(f) + 1), "0000", "x"));
      },
      Impatient());
  rig.driver.ZelmarSetRetryCount(0);
  EXPECT_EQ(rig.driver.ZelmarExecute(0x80, "1;")->statusFlags, kNoReply);
  EXPECT_TRUE(rig.driver.foreignReply);
}

TEST(ZelmarTransaction, OwnReplyAfterSynWithAHighCommandCodeIsNotForeign) {
  Rig rig([](FakeRegister& peer) {
    const std::string f = peer.ReadFrame();
    peer.Send("\x16" + ZelmarReply(Seq(f), Cmd(f), "0000", "z"));
    peer.DrainFrames();
  });
  rig.driver.foreignReply = true;
  EXPECT_EQ(rig.driver.ZelmarExecute(0xEE, "1;")->statusFlags, 0u);
  EXPECT_FALSE(rig.driver.foreignReply);
}

TEST(ZelmarTransaction, PeerStreamingSynIsGivenUpAsAMissingReply) {
  ZelmarTimings t = Quick();
  t.receiveLimitMs = 100;
  Rig rig(
      [](FakeRegister& peer) {
        peer.ReadFrame();
        while (peer.Send(std::string(64, '\x16'))) {
        }
      },
      t);
  rig.driver.ZelmarSetRetryCount(0);
  EXPECT_EQ(rig.driver.ZelmarExecute(0x80, "1;")->statusFlags, kNoReply);
  EXPECT_GT(rig.driver.Parser().synCount, 0);
}

TEST(ZelmarTransaction, PeerStreamingGarbageEndsOnceTheRawReplyIsFull) {
  ZelmarTimings t = Quick();
  t.receiveLimitMs = 60L * 60 * 1000;
  Rig rig(
      [](FakeRegister& peer) {
        peer.ReadFrame();
        while (peer.Send(std::string(64, 'g'))) {
        }
      },
      t);
  rig.driver.ZelmarSetRetryCount(0);
  const ZelmarResult* r = rig.driver.ZelmarExecute(0x80, "1;");
  EXPECT_EQ(r->statusFlags, kNoReply);
  EXPECT_EQ(r->rawReply.size(), ZelmarResult::kMaxRawReply);
}

TEST(ZelmarTransaction, PeerThatClosesEndsAsAMissingReplyNotAsTheLastSuccess) {
  Rig rig([](FakeRegister& peer) {
    std::string f = peer.ReadFrame();
    peer.Send(ZelmarReply(Seq(f), Cmd(f), "0000", "first"));
    peer.ReadFrame();
    peer.Hangup();
  });
  rig.driver.ZelmarSetRetryCount(0);
  ASSERT_EQ(rig.driver.ZelmarExecute(0x80, "1;")->statusFlags, 0u);
  const ZelmarResult* r = rig.driver.ZelmarExecute(0x80, "1;");
  EXPECT_EQ(r->statusFlags, kNoReply);
  EXPECT_EQ(r->paramCount, 0);
}

TEST(ZelmarTransaction, ConnectFailureIsShownAsKindAndMessageAndEndsAsMissingReply) {
  Rig rig([](FakeRegister& peer) { peer.DrainFrames(); }, Impatient());
  rig.peer.Stop();  // nobody listens on that port any more
  rig.socket.Deactivate();
  rig.driver.ZelmarSetRetryCount(0);
  const ZelmarResult* r = rig.driver.ZelmarExecute(0x80, "1;");
  EXPECT_EQ(r->statusFlags, kNoReply);
  ASSERT_EQ(rig.ui.messages.size(), 1u);
  EXPECT_EQ(rig.ui.messages[0].rfind("SocketErrorcannot connect", 0), 0u) << rig.ui.messages[0];
}

TEST(ZelmarTransaction, RequestAndReplyAreLogged) {
  test::TempDir dir;
  Rig rig([](FakeRegister& peer) {
    const std::string f = peer.ReadFrame();
    peer.Send("\x16\x16\x16" + ZelmarReply(Seq(f), Cmd(f), "0000", "v"));
    peer.DrainFrames();
  });
  rig.driver.Log().workDir = [&dir] { return dir.path(); };
  rig.driver.ZelmarSetLogName("morvek.log");
  const ZelmarResult* r = rig.driver.ZelmarExecute(0xA7, "582941;1;25;0;");
  const std::string log = test::ReadFile(dir.File("morvek.log"));
  EXPECT_NE(log.find("  21\r\nA7582941;1;25;0;\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("  21 SYN=3\r\n;" + r->rawReply + "\r\n"), std::string::npos) << log;
}

TEST(ZelmarEntryPoints, ParameterTextsAreFormattedAsTheRegisterExpects) {
  Rig rig(AnswerAll("0"));
  rig.driver.ZelmarSetRetryCount(0);
  int out = 7;
  rig.driver.ZelmarGetDiagnostics("582941", out);
  EXPECT_EQ(out, 0);
  rig.driver.ZelmarGetDocument("582941", 1, 25, 0, out);
  rig.driver.ZelmarGetDocument("", 0, -3, 12, out);
  rig.driver.ZelmarGetDocument("582941", 1, 25, 0, out, 1);
  out = 7;
  rig.driver.ZelmarPrintInterval("582941", 10, 12, out);
  EXPECT_EQ(out, 0);
  out = 7;
  const ZelmarResult* r =
      rig.driver.ZelmarGetDocumentsByDate("582941", "010316", "0800", "020316", "1830", 0, out);
  EXPECT_EQ(out, 0);
  EXPECT_EQ(r, &rig.driver.Result());
  rig.peer.Stop();
  const auto frames = rig.peer.frames();
  ASSERT_EQ(frames.size(), 6u);
  EXPECT_EQ(Cmd(frames[0]), 0x80);
  EXPECT_EQ(DataOf(frames[0]), "582941;");
  EXPECT_EQ(Cmd(frames[1]), 0xA7);
  EXPECT_EQ(DataOf(frames[1]), "582941;1;25;0;");
  EXPECT_EQ(DataOf(frames[2]), ";0;-3;12;");
  EXPECT_EQ(DataOf(frames[3]), "582941,1,25,0");
  EXPECT_EQ(Cmd(frames[4]), 0xEB);
  EXPECT_EQ(DataOf(frames[4]), "582941;10;12;");
  EXPECT_EQ(Cmd(frames[5]), 0xEE);
  EXPECT_EQ(DataOf(frames[5]), "582941;010316;0800;020316;1830;0;");
}

TEST(ZelmarEntryPoints, OverlongPasswordIsCutInTheFrameButKeptAsRequestText) {
  Rig rig(AnswerAll("0"));
  int out = 0;
  const std::string password(300, '9');
  const ZelmarResult* r = rig.driver.ZelmarGetDiagnostics(password, out);
  EXPECT_EQ(r->requestText, password + ";");
  EXPECT_EQ(r->sentFrame.size(), 219u + 10);
  EXPECT_EQ(r->statusFlags, 0u);
}

TEST(ZelmarCatalogue, CaptionsOfKnownAndUnknownCodes) {
  using test::W;
  EXPECT_EQ(ZelmarCommandCaption(0xEE),
            W("Команда EEh: Вывод интервала документов в электронном виде по дате"));
  EXPECT_EQ(ZelmarCommandCaption(0x65), W("Команда 65h: Закрытие  фискального чека"));
  EXPECT_EQ(ZelmarCommandCaption(0x20), W("Команда 20h: Установка даты и времени"));
  for (int code : {0x1F, 0x2A, 0x84, 0xED, -1, 0x180})
    EXPECT_EQ(ZelmarCommandCaption(code), W("Неверная команда")) << code;
}

}  // namespace
}  // namespace morvek
