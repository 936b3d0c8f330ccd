#include "datecs/transaction.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "codec/status_word.h"
#include "datecs/commands.h"
#include "platform/socket.h"

namespace morvek {

using namespace datecs;

namespace {

constexpr int kAttempts = 2;
constexpr int kWaitsPerAttempt = 60;
// A reply is read on until its frame ends, but no further than this many bytes other than SYN.
constexpr std::size_t kReadOnBytes = 500;

}  // namespace

int DatecsDriver::DatecsExecute(const ResultCallback& callback, int tag, std::uint8_t command,
                                std::string_view text) {
  savedText_ = std::string(text.substr(0, kRequestTextChars));
  record.command = command;
  record.callerTag = tag;
  record.statusFlags = 0;
  record.paramCount = 0;
  record.statusBytes.fill(0);
  parser.synCount = 0;
  ResetParser(parser);
  nonSynReceived_ = 0;

  if (!registerAccepted && !Reconnect()) {
    // The server has not accepted the register: nothing is sent, and the caller sees a missing
    // reply instead of bytes sent into the void.
    record.sentFrame.clear();
  } else {
    const std::string frame = BuildRequest(sequenceCounter, command, savedText_);
    record.sentFrame = frame.substr(0, kSentFrameBytes);
    try {
      ClientSocket& socket = socket_;
      if (!socket.IsActive()) socket.Activate();
      SocketStream stream(socket, timings_.streamTimeoutMs);
      if (socket.IsActive()) {
        stream.Write(frame.data(), frame.size());
        bool lastAttempt = false;
        for (int a = 0; a < kAttempts && !lastAttempt; ++a) {
          int silent = 0;
          WaitWithCountdown(stream, 3 - a, silent, lastAttempt);
          readBuffer_.fill(0);
          readPos_ = 0;
          readCount_ = stream.Read(readBuffer_.data(), readBuffer_.size());
          if (readCount_ > 0) {
            ReadReply(stream);
            break;
          }
        }
      }
    } catch (const SocketError&) {
      Reconnect();
      return 0;
    }
    if (hooks.countdownDone) hooks.countdownDone();
  }
  parser.frameComplete = false;
  DatecsDecodeReply();
  ++deliveries;
  if (callback) callback(record);
  parser.rawReply.clear();
  return 0;
}

bool DatecsDriver::WaitWithCountdown(SocketStream& stream, int attemptLabel, int& silent,
                                     bool& aborted) {
  while (silent < kWaitsPerAttempt) {
    if (stream.WaitForData(timings_.waitStepMs)) return true;
    ++silent;
    if (hooks.countdown && hooks.countdown(attemptLabel, kWaitsPerAttempt - silent)) {
      aborted = true;
      return false;
    }
  }
  return false;
}

bool DatecsDriver::DatecsReceiveByte() {
  if (readPos_ >= readCount_) return false;
  const std::uint8_t b = readBuffer_[readPos_++];
  if (b != ascii::kSyn) ++nonSynReceived_;
  FeedByte(parser, b);
  return true;
}

void DatecsDriver::ReadReply(SocketStream& stream) {
  // The register may send its reply in pieces: read on until the frame ends (ETX or NAK), a read
  // brings nothing, enough bytes came without a frame end, or the time is up. Each byte reaches
  // the parser once: parsing the same bytes again would only repeat them in rawReply and count
  // their SYN bytes again.
  using Clock = std::chrono::steady_clock;
  const auto deadline =
      Clock::now() + std::chrono::milliseconds(static_cast<long long>(timings_.streamTimeoutMs) *
                                               timings_.readOnTimeouts);
  for (;;) {
    while (DatecsReceiveByte()) {
      if (!parser.frameComplete && !parser.replyOk) continue;
      // A whole reply with another SEQ answers an earlier request, one given up on: taken, its
      // data would stand for this request's (another fragment, another document). It is dropped
      // and the reading goes on for this request's own reply. A frame that an ETX ended before
      // its digits ends the reading as a broken reply: its SEQ may be the last frame's, the
      // parse having fallen back before it.
      if (parser.replyOk && !parser.nakSeen && parser.checksumRead &&
          parser.replySequence != static_cast<std::uint8_t>(sequenceCounter % 95)) {
        ResetParser(parser);
        parser.frameComplete = false;
        continue;
      }
      return;  // the rest of the buffer is dropped
    }
    if (nonSynReceived_ >= kReadOnBytes || Clock::now() >= deadline) return;
    readBuffer_.fill(0);
    readPos_ = 0;
    readCount_ = stream.Read(readBuffer_.data(), readBuffer_.size());
    if (readCount_ == 0) return;
  }
}

bool DatecsDriver::Reconnect() {
  registerAccepted = hooks.reannounce && hooks.reannounce();
  return registerAccepted;
}

void DatecsDriver::DatecsDecodeReply() {
  const ReplyParser& p = parser;
  // A frame that an ETX ended before its four digits is no good reply either: its sum, reset by
  // the bytes the parser threw back to idle, could match the unread checksum of 0.
  const bool checksumError = p.replyOk && (p.sum != p.checksumValue || !p.checksumRead);
  for (std::size_t i = 0; i < record.statusBytes.size(); ++i)
    record.statusBytes[i] = static_cast<std::uint8_t>(p.statusRaw[i] & 0x7F);
  if (!p.replyOk) {
    record.statusFlags |= kNoReply;
  } else if (p.nakSeen) {
    record.statusFlags |= kNakReceived;
  } else if (checksumError) {
    record.statusFlags |= kChecksumError;
  } else {
    record.statusFlags |= StatusWordFlags(p.statusRaw);
  }

  // The data as text, up to its first zero byte.
  std::string data(p.data.data(), strnlen(p.data.data(), p.data.size()));
  record.dataCopy = data.substr(0, kDataCopyChars);
  if (data.size() > 1) {
    switch (record.command) {
      case 0x32:
      case 0x35: data.insert(1, 1, ','); break;  // a letter, then an amount
      case 0x3E:                                 // date and time
        if (data.size() >= 9) data[8] = ',';
        break;
      case 0x5A:
        std::replace(data.begin(), data.begin() + std::min<std::ptrdiff_t>(20, std::ssize(data)),
                     ' ', ',');
        break;
      default: break;
    }
  }
  record.commandName = std::string(DatecsCommandCaption(record.command));
  record.requestText = savedText_;
  record.statusCode.clear();
  record.rawReply = p.rawReply;

  // The split at ','; the last slot keeps the rest unsplit. Empty data leaves the slots as they
  // were.
  if (data.empty()) {
    record.paramCount = 0;
    return;
  }
  std::size_t count = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < data.size() && count + 1 < kParamSlots; ++i) {
    if (data[i] != ',') continue;
    record.params[count++] = data.substr(start, i - start);
    start = i + 1;
  }
  record.params[count++] = data.substr(start);
  record.paramCount = static_cast<std::int32_t>(count);
}

}  // namespace morvek
