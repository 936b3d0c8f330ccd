#pragma once
// The Datecs driver: one transaction at a time over the program's one client socket. A transaction
// sends one command, waits for the reply with a countdown, parses and decodes it into the result
// record and hands that to the caller's callback. A socket error makes it have the register
// announced again, without resending the command. It knows nothing of the windows: the program
// hands it the socket and the hooks below.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "datecs/frame.h"
#include "datecs/ret_data.h"
#include "datecs/timings.h"

namespace morvek {

class ClientSocket;
class SocketStream;

class DatecsDriver {
 public:
  explicit DatecsDriver(ClientSocket& socket, const DatecsTimings& timings = {})
      : socket_(socket), timings_(timings) {}

  // What the driver asks of the program around it.
  struct Hooks {
    // One silent second of a wait: shows "attempt : seconds left" and lets pending events run;
    // true when the operator aborted the wait.
    std::function<bool(int attempt, int secondsLeft)> countdown;
    // The wait is over, answered or not.
    std::function<void()> countdownDone;
    // Connects again and announces the register, after a socket error or while the server has not
    // accepted it; true when the server answered "Ready".
    std::function<bool()> reannounce;
  };
  Hooks hooks;

  // Sends one command and delivers its result to the callback (not on the reconnect path).
  // Always returns 0.
  int DatecsExecute(const datecs::ResultCallback& callback, int tag, std::uint8_t command,
                    std::string_view text);
  // Fills the record from the parsed reply.
  void DatecsDecodeReply();

  // The entry points; each returns 0 and delivers through the callback.
  int DatecsGetDiagnostics(const datecs::ResultCallback& callback, int tag, int flag);
  int DatecsGetDocument(const datecs::ResultCallback& callback, std::string_view password,
                        int docType, int number, int fragment);
  int DatecsGetDocumentsByDate(const datecs::ResultCallback& callback, std::string_view password,
                               std::string_view startDate, std::string_view startTime,
                               std::string_view endDate, std::string_view endTime, int printFlag);
  int DatecsPrintInterval(const datecs::ResultCallback& callback, std::string_view password,
                          int first, int last);

  // The countdown of one attempt: up to 60 silent waits for data, each one counted in silent and
  // shown through the countdown hook as "<attempt> : <seconds left>". True when data is waiting;
  // aborted tells whether the operator ended the wait.
  bool WaitWithCountdown(SocketStream& stream, int attemptLabel, int& silent, bool& aborted);
  // The waits the driver was made with; the register's announcement shares its stream time-out.
  const DatecsTimings& Timings() const { return timings_; }

  datecs::RetData record;  // overwritten by every transaction
  datecs::ReplyParser parser;
  std::uint8_t sequenceCounter = 0;
  long deliveries = 0;  // records handed to a callback
  // False after the server did not answer "Ready" to the reconnect announcement: no command is
  // sent until an announcement is accepted again. The connect sequence sets it after its own
  // "Ready".
  bool registerAccepted = true;

 private:
  // Reads until the reply's frame ends, within the bounds of a broken or endless peer.
  void ReadReply(SocketStream& stream);
  // Advances the parser by the next byte of the read buffer; false when the buffer holds no
  // further byte.
  bool DatecsReceiveByte();
  // Has the register announced again; true when the server took it.
  bool Reconnect();

  ClientSocket& socket_;
  DatecsTimings timings_;
  std::string savedText_;
  std::array<std::uint8_t, 500> readBuffer_{};
  std::size_t readCount_ = 0;
  std::size_t readPos_ = 0;
  std::size_t nonSynReceived_ = 0;  // in this exchange
};

}  // namespace morvek
