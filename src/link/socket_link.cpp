#include "link/register_link.h"
#include "platform/socket.h"

namespace morvek {

TransferEnd SocketLink::TransferBlocks(int docType, std::int32_t first, std::int32_t last,
                                       const BlockSink& sink) {
  return RunBlockTransfer(socket_, blockTimings_, blockReplyOwed_, docType, first, last, sink);
}

bool SocketLink::Connected() const {
  return socket_.IsActive();
}

}  // namespace morvek
