#include "session/session.h"

#include <exception>

#include "codec/cp1251.h"
#include "platform/text_file.h"
#include "platform/translation.h"
#include "render/renderer.h"
#include "session/render.h"

namespace morvek {

Session::Session(const SessionOptions& options, Ui& ui)
    : options_(options),
      ui_(ui),
      zelmar_(socket_, ui, options_.timings.zelmar),
      datecs_(socket_, options_.timings.datecs),
      zelmarLink_(zelmar_, socket_, options_.timings.blocks),
      datecsLink_(datecs_, socket_, options_.timings.blocks) {
  datecsLink_.onResult = [this](datecs::RetData& record) { ShowDatecsError(ui_, record); };
  datecs_.hooks.reannounce = [this] { return ReannounceDatecs(); };
  zelmar_.reannounce = [this] { return Reannounce(); };
  if (!options_.exchangeLogPath.empty()) zelmar_.ZelmarSetLogName(options_.exchangeLogPath);
  zelmar_.ZelmarSetRetryCount(options_.zelmarReplyTries);
  socket_.SetHost(options_.host);
  socket_.SetPort(options_.port != 0                       ? options_.port
                  : options_.protocol == Protocol::kZelmar ? kZelmarServerPort
                                                           : kDatecsServerPort);
}

Session::~Session() {
  Disconnect();
}

RegisterLink& Session::Link() {
  if (options_.protocol == Protocol::kZelmar) return zelmarLink_;
  return datecsLink_;
}

ConnectResult Session::Connect() {
  connection_ = {};
  try {
    if (socket_.IsActive()) socket_.Deactivate();
    socket_.Activate();
  } catch (const SocketError&) {
    ui_.ShowMessage(std::string("Сервер не отвечает, проверьте IP адрес"_tr));
    return connection_;
  }
  if (!Handshake()) {
    ui_.ShowMessage(std::string(
        "Сервер не отвечает, проверьте настройки РРО (IP адрес или удаленный доступ)"_tr));
    return connection_;
  }
  datecs_.registerAccepted = true;
  try {
    const std::optional<bool> gate = CheckRegister(Link(), ui_, connection_.panels);
    if (!gate) return connection_;
    connection_.recentFirmware = *gate;
  } catch (const std::exception& failure) {
    ui_.ShowUnhandledError(failure.what());
    return connection_;
  }
  connection_.connected = true;
  return connection_;
}

void Session::Disconnect() {
  connection_.connected = false;
  socket_.Deactivate();
}

bool Session::Handshake() {
  SocketStream stream(socket_, options_.timings.handshake.streamTimeoutMs);
  TickWait wait(stream, options_.timings.handshake);
  return AnnounceAndAwaitReady(stream, Announcement(options_.identity),
                               options_.timings.handshake.cycles, wait);
}

bool Session::Reannounce() {
  socket_.Activate();
  if (Handshake()) return true;
  socket_.Deactivate();
  return false;
}

bool Session::ReannounceDatecs() {
  return ReconnectDatecs(datecs_, socket_, options_.host, options_.identity.text);
}

void Session::WriteAssembled(const FetchResult& result) {
  if (!options_.assembledPath.empty())
    SaveLines(options_.assembledPath, AssembledLines(result.documents));
}

FetchResult Session::Fetch(int documentType, int first, int last, const FetchHooks& hooks) {
  FetchResult result;
  result.outcome.Begin();
  if (!RangeIsValid(ui_, first, last)) return result;
  const int docType = documentType == kTypeZReport ? 0 : 1;
  morvek::Fetch(Link(), options_.password, connection_.recentFirmware, docType, first, last, hooks,
                result);
  if (!result.failed) WriteAssembled(result);
  return result;
}

Session::DateFetch Session::FetchByDate(const DateFields& fields, const FetchHooks& hooks) {
  DateFetch date;
  FetchResult& result = date.fetched;
  result.outcome.Begin();
  DateInterval interval;
  try {
    interval = ReadDateFields(fields);
  } catch (const std::exception&) {
    result.failed = true;
    return date;
  }
  if (interval.endDate.Before(interval.startDate)) {
    ui_.ShowMessage(std::string("Конечная дата должна быть не меньше начальной!"_tr));
    return date;
  }
  result.outcome.stage = RequestOutcome::Stage::kRegisterFailed;
  const NumbersReply numbers = AskNumbersByDate(Link(), options_.password, interval);
  if (!numbers.given) {
    date.status = numbers.status;
    return date;
  }
  morvek::Fetch(Link(), options_.password, connection_.recentFirmware, 1, numbers.first,
                numbers.last, hooks, result);
  if (!result.failed) WriteAssembled(result);
  return date;
}

NumbersReply Session::Numbers(const DateFields& fields) {
  const DateInterval interval = ReadDateFields(fields);
  const auto ask = [&] {
    NumbersReply reply = AskNumbersByDate(Link(), options_.password, interval);
    // Datecs errors have been shown as the driver delivered them.
    if (!reply.given && options_.protocol == Protocol::kZelmar && reply.status != "0000")
      ui_.ShowMessageBox(std::string("РРО вернул ошибку:"_tr) + reply.status, "Error");
    return reply;
  };
  NumbersReply reply = ask();
  // The reply read belonged to an earlier request: ask once more.
  if (options_.protocol == Protocol::kZelmar && zelmar_.foreignReply) {
    const NumbersReply again = ask();
    if (again.given || !reply.given) reply = again;
  }
  return reply;
}

PrintResult Session::Print(int first, int last) {
  PrintResult result;
  if (!ui_.AskYesNo(std::string("Печать требует затрат бумажной ленты"_tr),
                    std::string("Продолжить?"_tr)))
    return result;
  result.asked = true;
  const LinkReply reply = Link().PrintInterval(options_.password, first, last);
  result.accepted = reply.kind == LinkReply::Kind::kAnswer && reply.refusal.empty();
  result.status = reply.status;
  return result;
}

}  // namespace morvek
