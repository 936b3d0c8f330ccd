#pragma once
// The Datecs driver behind the register link: the record its callback receives read into a reply,
// and a request that ended on the reconnect path, which delivers nothing, told for what it is.
#include "datecs/transaction.h"
#include "link/register_link.h"

namespace morvek {

class DatecsLink : public RegisterLink {
 public:
  DatecsLink(DatecsDriver& driver, const ClientSocket& socket) : driver_(driver), socket_(socket) {}

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
  const ClientSocket& socket_;
};

}  // namespace morvek
