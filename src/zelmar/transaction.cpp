#include "zelmar/transaction.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "codec/status_word.h"
#include "zelmar/commands.h"

namespace morvek {

using namespace zelmar;

namespace {

std::string Hex(unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", value);
  return text;
}

}  // namespace

bool ZelmarReplyHasShape(const std::string& raw) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(raw[i]); };
  // SOH LEN SEQ CMD, four characters of status text, ';' ... ENQ d d d d ETX.
  if (raw.size() < 9) return false;
  return at(0) == ascii::kSoh && at(1) >= 0x30 && at(2) >= 0x20 && at(2) <= 0x7F && at(3) >= 0x20 &&
         at(8) == kSeparator && at(raw.size() - 1) == ascii::kEtx &&
         at(raw.size() - 6) == ascii::kEnq;
}

ZelmarResult* ZelmarDriver::ZelmarExecute(int command, const std::string& text) {
  ZelmarSendFrame(command, text);
  for (int pass = 0; pass < retryCount_; ++pass) {
    if (ZelmarReplyHasShape(result_.rawReply)) continue;
    // Without a server to reach, a resend would only show the same error again.
    if (unreachable_) break;
    ui_.Sleep(timings_.resendPauseMs);
    ZelmarResend();
  }
  return &result_;
}

int ZelmarDriver::ZelmarResend() {
  sequenceCounter_ = counterBeforeRequest_;
  const std::string text = savedText_;
  return ZelmarSendFrame(savedCommand_, text);
}

int ZelmarDriver::ZelmarSendFrame(int command, const std::string& text) {
  savedCommand_ = command;
  savedText_ = text;
  result_.command = command;
  counterBeforeRequest_ = sequenceCounter_;
  result_.statusFlags = 0;
  result_.paramCount = 0;
  parser_.statusRaw.fill(0);

  const auto code = static_cast<std::uint8_t>(command);
  const std::string frame = BuildRequest(sequenceCounter_, code, text);
  requestSequenceByte_ = SequenceByte(sequenceCounter_);
  log_.LogExchange(Hex(requestSequenceByte_), Hex(code) + text);

  ResetParser(parser_);
  result_.sentFrame = frame.substr(0, ZelmarResult::kMaxSentFrame);
  readFailed_ = false;

  SendAndWait(frame);
  Poll();

  parser_.frameComplete = false;
  ZelmarDecodeReply();
  parser_.replyOk = true;

  char header[48];
  std::snprintf(header, sizeof header, "%X SYN=%ld", SequenceByte(parser_.replySequence),
                parser_.synCount);
  log_.LogExchange(header, ";" + parser_.rawReply);
  return 0;
}

void ZelmarDriver::SendAndWait(const std::string& frame) {
  unreachable_ = false;
  try {
    // The server takes the first bytes of a connection for the announcement of the register, so
    // a connection made again is announced before the frame goes out on it.
    if (!socket_.IsActive()) {
      if (!reannounce)
        socket_.Activate();
      else if (!reannounce())
        throw SocketError("the server did not accept the register");
    }
    SocketStream stream(socket_, timings_.streamTimeoutMs);
    stream.Write(frame.data(), frame.size());
    // Once data is pending every later wait returns at once.
    for (int series = 0; series < timings_.waitSeries; ++series)
      for (int slice = 0; slice < timings_.waitSlices; ++slice)
        if (stream.WaitForData(timings_.waitSliceMs)) break;
  } catch (const SocketError& error) {
    // A broken connection is dropped, so that the next frame connects again.
    unreachable_ = !socket_.IsActive();
    socket_.Deactivate();
    ui_.ShowMessage(std::string(SocketError::kKind) + error.what());
  }
}

void ZelmarDriver::Poll() {
  using Clock = std::chrono::steady_clock;
  const auto giveUp = Clock::now() + std::chrono::milliseconds(timings_.receiveLimitMs);
  pollCounter_ = 0;
  while (pollCounter_ < kEmptyReads) {
    if (!parser_.frameComplete && ZelmarReceiveStep() < 0) break;
    if (parser_.replyOk) break;
    // A frame that ended without ETX ends the exchange at once.
    if (parser_.frameComplete) break;
    // A peer streaming bytes without ending a frame: the raw reply is full, or time is up.
    if (parser_.rawReply.size() >= kMaxRawReply || Clock::now() >= giveUp) break;
    ++pollCounter_;
  }
}

bool ZelmarDriver::IsForeignFrame(const unsigned char* bytes, std::size_t count) const {
  std::size_t i = 0;
  while (i < count && bytes[i] == ascii::kSyn) ++i;
  // SOH LEN SEQ CMD of a frame that answers another request, or another command.
  if (count - i < 4 || bytes[i] != ascii::kSoh) return false;
  return bytes[i + 2] != requestSequenceByte_ ||
         bytes[i + 3] != static_cast<std::uint8_t>(savedCommand_);
}

int ZelmarDriver::ZelmarReceiveStep() {
  unsigned char buffer[kReadSize] = {};
  std::size_t count = 0;
  try {
    // The request went out on a connection that is gone: a new one holds no reply to it.
    if (!socket_.IsActive()) throw SocketError("socket not connected");
    SocketStream stream(socket_, timings_.streamTimeoutMs);
    count = stream.Read(buffer, sizeof buffer);
  } catch (const SocketError&) {
    // Ends the exchange as a missing reply: replyOk stays clear. The broken connection is
    // dropped, so that a resend connects again.
    socket_.Deactivate();
    readFailed_ = true;
    return -1;
  }
  if (count == 0) return 0;
  // A late reply to an earlier request is dropped frame by frame, up to the next SOH, so that the
  // own reply in the same read still counts.
  std::size_t start = 0;
  bool dropped = false;
  while (start < count && IsForeignFrame(buffer + start, count - start)) {
    dropped = true;
    const std::size_t soh =
        static_cast<std::size_t>(std::find(buffer + start, buffer + count, ascii::kSoh) - buffer);
    const auto* next = std::find(buffer + soh + 1, buffer + count, ascii::kSoh);
    start = static_cast<std::size_t>(next - buffer);
  }
  if (dropped && start == count) {
    foreignReply = true;
    return 0;
  }
  foreignReply = false;
  // Bytes behind the end of the reply in the same read are dropped: a SYN there would zero the
  // sum of a good reply, and anything there would spoil its shape.
  for (std::size_t i = start; i < count && !parser_.frameComplete && !parser_.replyOk; ++i) {
    pollCounter_ = 0;
    FeedByte(parser_, buffer[i]);
  }
  return 0;
}

void ZelmarDriver::ZelmarDecodeReply() {
  DecodeZelmarReply(parser_, result_);
  result_.commandName = ZelmarCommandCaption(result_.command);
  result_.requestText = savedText_;
}

void ZelmarSplitParams(const std::string& data, ZelmarResult& result) {
  if (data.empty()) return;
  for (std::string& slot : result.params) slot.clear();
  std::size_t end = data.size();
  if (data[end - 1] == kSeparator) --end;
  std::size_t start = 0;
  std::size_t count = 0;
  for (std::size_t i = 0; i < end && count + 1 < ZelmarResult::kParamSlots; ++i) {
    if (data[i] != kSeparator || i + 1 >= end) continue;
    result.params[count++] = data.substr(start, i - start);
    start = i + 1;
    if (end > start && data[end - 1] == kSeparator) --end;
  }
  // The last slot keeps whatever is left, split or not.
  result.params[count++] = data.substr(start, end - start);
  result.paramCount = static_cast<std::int32_t>(count);
}

void DecodeZelmarReply(const ReplyParser& parser, ZelmarResult& result) {
  result.paramCount = 0;
  // The digits carry the sum's 16 low bits. A frame that an ETX ended before its four digits is
  // no good reply either: its sum, zeroed by the bytes thrown back to idle, could match the
  // unread checksum of 0.
  const bool checksumError =
      parser.replyOk && (!parser.checksumRead || (parser.sum & 0xFFFF) != parser.checksumValue);
  for (std::size_t i = 0; i < 6; ++i)
    result.statusBytes[i] = static_cast<std::uint8_t>(parser.statusRaw[i] & 0x7F);
  if (!parser.replyOk) {
    result.statusFlags = ZelmarResult::kNoReply;
  } else if (parser.nakSeen) {
    result.statusFlags = ZelmarResult::kNak;
  } else if (checksumError) {
    result.statusFlags = ZelmarResult::kChecksumError;
  } else {
    result.statusFlags = StatusWordFlags(result.statusBytes);
  }
  result.dataCopy = parser.data.substr(0, ZelmarResult::kMaxDataCopy);
  result.statusCode = parser.statusText.substr(0, ZelmarResult::kMaxStatusCode);
  result.rawReply = parser.rawReply.substr(0, ZelmarResult::kMaxRawReply);
  ZelmarSplitParams(parser.data, result);
}

}  // namespace morvek
