#pragma once
// The Datecs driver behind the register link: the record its callback receives read into a reply,
// and a request that ended on the reconnect path, which delivers nothing, told for what it is.
#include "datecs/transaction.h"
#include "link/handshake.h"
#include "link/register_link.h"
#include "platform/ui.h"

namespace morvek {

// The Datecs driver's reconnect waits for the go-ahead with the driver's own countdown.
class DatecsCountdownWait : public GoAheadWait {
 public:
  DatecsCountdownWait(DatecsDriver& driver, SocketStream& stream)
      : driver_(driver), stream_(stream) {}
  bool Next(int attempt) override;
  bool Aborted() const override { return aborted_; }

 private:
  DatecsDriver& driver_;
  SocketStream& stream_;
  int attempt_ = -1;
  int silent_ = 0;
  bool aborted_ = false;
};

// The Datecs driver's way back after a socket error: connects again to host, announces the
// identity text as it stands in 9 bytes, whichever identity it is, and awaits "Ready" with the
// driver's countdown. True when it came; a refused announcement leaves the socket closed.
bool ReconnectDatecs(DatecsDriver& driver, ClientSocket& socket, const std::string& host,
                     std::string_view identityText);

// The register's first error in a record, shown as a message.
void ShowDatecsError(Ui& ui, const datecs::RetData& record);

class DatecsLink : public SocketLink {
 public:
  DatecsLink(DatecsDriver& driver, ClientSocket& socket, const BlockTimings& blockTimings)
      : SocketLink(socket, blockTimings), driver_(driver) {}

  // Every record the driver delivers, for a caller that keeps it or reports the register's errors
  // (the program's PrinterResultsx).
  datecs::ResultCallback onResult;

  Protocol protocol() const override { return Protocol::kDatecs; }
  LinkReply Diagnostics(std::string_view password) override;
  LinkReply Fragment(std::string_view password, int docType, int number, int fragment) override;
  LinkReply NumbersByDate(std::string_view password, const DateTexts& dates) override;
  LinkReply PrintInterval(std::string_view password, int first, int last) override;

 private:
  // Runs one request through the driver and reads what it delivered.
  template <typename Request>
  LinkReply Ask(Request request);

  DatecsDriver& driver_;
};

}  // namespace morvek
