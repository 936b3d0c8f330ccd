#pragma once
// The remote-access server's handshake: the register announced by its identity, then the wait for
// the server's "Ready", which it may send in pieces. The connect button, the Zelmar driver's way
// back after a broken connection and the Datecs driver's reconnect all go through it; each brings
// its own wait, with or without a countdown the operator can abort.
#include <cstddef>
#include <string>
#include <string_view>

namespace morvek {

class ClientSocket;
class SocketStream;

// The waits of the server handshake. The program keeps the defaults; tests shrink them.
struct HandshakeTimings {
  int streamTimeoutMs = 60000;  // the stream's write and read
  int cycles = 4;               // cycles of the go-ahead wait
  int ticks = 60;               // waits of one cycle
  int tickMs = 2000;            // one wait for the go-ahead
};

// The register as the server knows it: its fiscal number, announced as ":number:" in 12 bytes,
// or its ID_DEV, announced as it stands in 9 bytes.
struct RegisterIdentity {
  bool fiscalNumber = true;
  std::string text;  // Windows-1251
};

// The announcement bytes of a text: cut to `bytes`, or padded with zero bytes (the text is read
// from a buffer of 100).
std::string Announcement(std::string_view text, std::size_t bytes);
std::string Announcement(const RegisterIdentity& identity);

// How one handshake waits for the server.
class GoAheadWait {
 public:
  virtual ~GoAheadWait() = default;
  // The announcement is out and the wait begins.
  virtual void Announced() {}
  // Waits within attempt for the server's bytes: true when there are some to read, false when the
  // attempt is over (silent, or aborted).
  virtual bool Next(int attempt) = 0;
  virtual bool Aborted() const { return false; }
};

// The wait of the connect button: cycles of ticks, a countdown step after each silent tick.
class TickWait : public GoAheadWait {
 public:
  TickWait(SocketStream& stream, const HandshakeTimings& timings)
      : stream_(stream), timings_(timings) {}
  bool Next(int attempt) override;
  // After each silent tick: cycles and ticks left; true to abort.
  virtual bool Countdown(int cyclesLeft, int ticksLeft) {
    (void)cyclesLeft, (void)ticksLeft;
    return false;
  }
  bool Aborted() const override { return aborted_; }

 private:
  SocketStream& stream_;
  const HandshakeTimings& timings_;
  int attempt_ = -1;
  int tick_ = 1;
  bool aborted_ = false;
};

// Writes the announcement on the stream and awaits the go-ahead over `attempts` attempts; the
// first answer ends the wait, unless it is a piece of "Ready": then the rest is read within the
// same attempt. All answers together stay within 500 bytes. True when the server answered
// "Ready"; an aborted wait or a socket error gives false.
bool AnnounceAndAwaitReady(SocketStream& stream, std::string_view announcement, int attempts,
                           GoAheadWait& wait);

}  // namespace morvek
