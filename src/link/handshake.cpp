#include "link/handshake.h"

#include <algorithm>
#include <array>

#include "platform/server_ready.h"
#include "platform/socket.h"

namespace morvek {

namespace {

constexpr std::size_t kAnnouncementBuffer = 100;
constexpr std::size_t kReplyBuffer = 500;
constexpr std::size_t kIdDevBytes = 9;
constexpr std::size_t kFiscalNumberBytes = 12;

}  // namespace

std::string Announcement(std::string_view text, std::size_t bytes) {
  std::array<char, kAnnouncementBuffer> buffer{};
  text.copy(buffer.data(), buffer.size());
  return std::string(buffer.data(), std::min(bytes, buffer.size()));
}

std::string Announcement(const RegisterIdentity& identity) {
  return identity.fiscalNumber ? Announcement(":" + identity.text + ":", kFiscalNumberBytes)
                               : Announcement(identity.text, kIdDevBytes);
}

bool TickWait::Next(int attempt) {
  if (attempt != attempt_) {
    attempt_ = attempt;
    tick_ = 1;
  }
  while (tick_ <= timings_.ticks) {
    const int t = tick_++;
    if (stream_.WaitForData(timings_.tickMs)) return true;
    if (Countdown(timings_.cycles - 1 - attempt, timings_.ticks - t)) {
      aborted_ = true;
      return false;
    }
  }
  return false;
}

bool AnnounceAndAwaitReady(SocketStream& stream, std::string_view announcement, int attempts,
                           GoAheadWait& wait) {
  std::string reply;
  try {
    stream.Write(announcement.data(), announcement.size());
    wait.Announced();
    for (int r = 0; r < attempts; ++r) {
      while (wait.Next(r)) {
        std::array<char, kReplyBuffer> buffer{};
        const std::size_t n = stream.Read(buffer.data(), kReplyBuffer - reply.size());
        reply.append(buffer.data(), n);
        if (n == 0) break;  // nothing after all: on to the next attempt
        if (!StartsReady(reply)) return IsReady(reply);
      }
      if (wait.Aborted()) return false;
    }
  } catch (const SocketError&) {
    return false;  // a server that failed or closed gives no go-ahead
  }
  return IsReady(reply);
}

}  // namespace morvek
