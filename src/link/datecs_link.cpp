#include "link/datecs_link.h"

#include <cstdio>
#include <string>

#include "datecs/results.h"
#include "platform/socket.h"

namespace morvek {

bool DatecsCountdownWait::Next(int attempt) {
  if (attempt != attempt_) {
    attempt_ = attempt;
    silent_ = 0;
  }
  return !aborted_ && driver_.WaitWithCountdown(stream_, 3 - attempt, silent_, aborted_);
}

bool ReconnectDatecs(DatecsDriver& driver, ClientSocket& socket, const std::string& host,
                     std::string_view identityText) {
  constexpr int kAttempts = 4;
  constexpr std::size_t kAnnouncementBytes = 9;
  bool accepted = false;
  try {
    if (socket.IsActive()) socket.Deactivate();
    socket.SetHost(host);
    socket.Activate();
    SocketStream stream(socket, driver.Timings().streamTimeoutMs);
    DatecsCountdownWait wait(driver, stream);
    accepted = AnnounceAndAwaitReady(stream, Announcement(identityText, kAnnouncementBytes),
                                     kAttempts, wait);
  } catch (const SocketError&) {
    accepted = false;
  }
  if (!accepted) socket.Deactivate();
  return accepted;
}

void ShowDatecsError(Ui& ui, const datecs::RetData& record) {
  const std::string_view message = datecs::ResultMessage(record.statusFlags);
  if (!message.empty()) ui.ShowMessage(std::string(message));
}

template <typename Request>
LinkReply DatecsLink::Ask(Request request) {
  LinkReply reply;
  bool delivered = false;
  request([&](datecs::RetData& record) {
    delivered = true;
    // The parameters as read, also of a reply that failed: the register check shows them.
    reply.params.assign(record.params.begin(), record.params.begin() + record.paramCount);
    const std::uint32_t flags = record.statusFlags;
    if (flags & datecs::kChecksumError) {
      reply.kind = LinkReply::Kind::kChecksum;
    } else if (flags & datecs::kNakReceived) {
      reply.kind = LinkReply::Kind::kNak;
    } else if (flags & datecs::kNoReply) {
      // Also what a command the server never got to, its register unannounced, comes back as.
      reply.kind =
          socket_.IsActive() ? LinkReply::Kind::kNoReply : LinkReply::Kind::kConnectionLost;
    } else {
      reply.kind = LinkReply::Kind::kAnswer;
      // The register tells a refusal by the status bits of a reply without data.
      if (reply.params.empty() && !datecs::ResultMessage(flags).empty()) {
        char word[16];
        std::snprintf(word, sizeof word, "0x%08X", static_cast<unsigned>(flags));
        reply.refusal = word;
      }
    }
    if (onResult) onResult(record);
  });
  // Nothing delivered: the request ended on the reconnect path, the connection having broken.
  if (!delivered) reply.kind = LinkReply::Kind::kConnectionLost;
  return reply;
}

LinkReply DatecsLink::Diagnostics(std::string_view) {
  return Ask(
      [&](const datecs::ResultCallback& deliver) { driver_.DatecsGetDiagnostics(deliver, 0, 0); });
}

LinkReply DatecsLink::Fragment(std::string_view password, int docType, int number, int fragment) {
  return Ask([&](const datecs::ResultCallback& deliver) {
    driver_.DatecsGetDocument(deliver, password, docType, number, fragment);
  });
}

LinkReply DatecsLink::NumbersByDate(std::string_view password, const DateTexts& dates) {
  return Ask([&](const datecs::ResultCallback& deliver) {
    driver_.DatecsGetDocumentsByDate(deliver, password, dates.startDate, dates.startTime,
                                     dates.endDate, dates.endTime, 0);
  });
}

LinkReply DatecsLink::PrintInterval(std::string_view password, int first, int last) {
  return Ask([&](const datecs::ResultCallback& deliver) {
    driver_.DatecsPrintInterval(deliver, password, first, last);
  });
}

}  // namespace morvek
