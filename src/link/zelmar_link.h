#pragma once
// The Zelmar driver behind the register link: its entry points, their record read into a reply.
#include <functional>

#include "link/register_link.h"
#include "zelmar/transaction.h"

namespace morvek {

class ZelmarLink : public SocketLink {
 public:
  ZelmarLink(ZelmarDriver& driver, ClientSocket& socket, const BlockTimings& blockTimings)
      : SocketLink(socket, blockTimings), driver_(driver) {}

  // Every record the driver hands back, for a caller that keeps it (the program's
  // lastZelmarResult).
  std::function<void(const ZelmarResult*)> onResult;

  Protocol protocol() const override { return Protocol::kZelmar; }
  LinkReply Diagnostics(std::string_view password) override;
  LinkReply Fragment(std::string_view password, int docType, int number, int fragment) override;
  LinkReply NumbersByDate(std::string_view password, const DateTexts& dates) override;
  LinkReply PrintInterval(std::string_view password, int first, int last) override;

 private:
  LinkReply Reply(const ZelmarResult* result);

  ZelmarDriver& driver_;
};

}  // namespace morvek
