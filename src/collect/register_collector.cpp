#include "collect/register_collector.h"

#include <chrono>
#include <climits>
#include <exception>
#include <optional>
#include <stdexcept>

#include "codec/cp1251.h"
#include "collect/collect_dates.h"
#include "collect/fetch_plan.h"
#include "platform/recording_ui.h"
#include "render/renderer.h"
#include "session/session.h"

namespace morvek {

namespace {

// The Zelmar status of a request by date whose interval holds no receipts.
constexpr std::string_view kNoneInInterval = "0C06";
// Lines kept of the documents not delivered; the count says how many there were.
constexpr std::size_t kMaxDetails = 20;

// The connection broke and the driver could not make it again: the rest waits for the next run.
struct ConnectionLost {};

class RegisterRun {
 public:
  RegisterRun(const FleetRegister& fleetRegister, const CollectOptions& options, Archive& archive,
              const std::function<void(const RegisterProgress&)>& progress)
      : fleetRegister_(fleetRegister),
        options_(options),
        archive_(archive),
        onProgress_(progress),
        session_(SessionOptionsOf(fleetRegister, options), ui_) {
    report_.name = fleetRegister.name;
  }

  RegisterReport Run() {
    const auto start = std::chrono::steady_clock::now();
    try {
      Collect();
    } catch (const ConnectionLost&) {
      Fail("the connection was lost and could not be made again");
    } catch (const std::exception& failure) {
      Fail(failure.what());
    }
    report_.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return report_;
  }

 private:
  static SessionOptions SessionOptionsOf(const FleetRegister& entry,
                                         const CollectOptions& options) {
    SessionOptions session;
    session.host = entry.host;
    session.port = entry.port;
    session.protocol = entry.protocol;
    session.identity = {entry.idDev.empty(),
                        Utf8ToCp1251(entry.idDev.empty() ? entry.fiscalNumber : entry.idDev)};
    if (!entry.password.empty()) session.password = Utf8ToCp1251(entry.password);
    // Sessions run side by side: none writes files of its own.
    session.assembledPath.clear();
    session.errorLogPath.clear();
    session.exchangeLogPath.clear();
    session.timings = options.timings;
    return session;
  }

  void Collect() {
    Show("connecting");
    if (!session_.Connect().connected) {
      report_.outcome = RegisterOutcome::kUnreachable;
      report_.reason = "cannot connect to " + Address() + LastMessage();
      return;
    }
    report_.connected = true;
    report_.outcome = RegisterOutcome::kComplete;
    fiscalNumber_ = fleetRegister_.fiscalNumber;
    if (fiscalNumber_.empty())
      if (const auto known = archive_.FindRegister(fleetRegister_.name))
        fiscalNumber_ = known->fiscalNumber;
    if (!fiscalNumber_.empty()) {
      held_ = archive_.Held(fiscalNumber_, options_.since);
      Note({});
    }
    Receipts();
    ZReports();
    if (report_.outcome == RegisterOutcome::kComplete && report_.notDelivered > 0)
      report_.outcome = RegisterOutcome::kIncomplete;
  }

  void Receipts() {
    Show("receipts");
    const std::string from = options_.sinceGiven || held_.lastReceiptTime < options_.since
                                 ? options_.since
                                 : held_.lastReceiptTime;
    const NumbersReply numbers = session_.Numbers(FieldsFrom(from, options_.now));
    std::optional<FetchRange> named;
    if (numbers.given) {
      named = FetchRange{numbers.first, numbers.last};
    } else {
      if (!session_.Connected()) throw ConnectionLost{};
      const bool none = numbers.refused && (fleetRegister_.protocol == Protocol::kDatecs ||
                                            numbers.status == kNoneInInterval);
      if (!none)
        Incomplete(numbers.refused ? "the register refused to name its receipts (status " +
                                         Cp1251ToUtf8(numbers.status) + ")"
                                   : "the register did not name its receipts");
    }
    const auto span = ReceiptSpan(named, held_.receiptNumbers);
    if (!span) return;
    const std::vector<FetchRange> batches = Batches(*span, held_.receiptNumbers, options_.batch);
    progress_.count = 0;
    for (const FetchRange& batch : batches) progress_.count += batch.last - batch.first + 1;
    for (const FetchRange& batch : batches) {
      const FetchResult fetched = Fetch(kTypeReceipt, batch);
      report_.newReceipts += Store(fetched.documents);
      Account(fetched);
      progress_.done = done_ += batch.last - batch.first + 1;
      Show("receipts");
    }
  }

  // From the one after the last held on, in steps, until the first the register does not have.
  // One that is lost ends the run there too, and what came after it is not kept: the next run
  // asks again from the last Z-report held.
  void ZReports() {
    const int step = session_.Connection().recentFirmware ? options_.batch : options_.zStep;
    progress_.done = progress_.count = done_ = 0;
    for (long long next = held_.lastZNumber + 1; next <= INT_MAX;) {
      Show("Z-reports");
      const FetchRange range = Step(next, step);
      FetchResult fetched = Fetch(kTypeZReport, range);
      const std::optional<int> missing = FirstMissing(fetched.outcome);
      if (missing)
        std::erase_if(fetched.documents,
                      [&](const FetchedDocument& document) { return document.number >= *missing; });
      report_.newZReports += Store(fetched.documents);
      Account(fetched);
      if (missing) return;
      next = static_cast<long long>(range.last) + 1;
    }
  }

  FetchResult Fetch(int type, FetchRange range) {
    FetchHooks hooks;
    hooks.holdsNumber = [this, type](int number) {
      return type != kTypeZReport && held_.receiptNumbers.count(number) != 0;
    };
    hooks.holdsDocument = [this](const FetchedDocument& document) {
      try {
        return held_.dis.count(std::stoll(document.di)) != 0;
      } catch (const std::exception&) {
        return false;  // no DI to tell it by: it is stored, and the archive tells
      }
    };
    hooks.progress = [this](long long done, long long, long long) {
      progress_.done = done_ + done;
      Show(progress_.stage);
    };
    return session_.Fetch(type, range.first, range.last, hooks);
  }

  // The documents of a fetch stored in one transaction; the count of those new to the archive.
  long long Store(const std::vector<FetchedDocument>& documents) {
    std::vector<DocumentRecord> records;
    for (const FetchedDocument& document : documents) {
      try {
        records.push_back(ReadDocument(document.xml));
      } catch (const std::exception& failure) {
        ++report_.notDelivered;
        Detail(std::string(document.docType == 0 ? "Z-report " : "receipt ") +
               std::to_string(document.number) + ": cannot be read: " + failure.what());
      }
    }
    if (records.empty()) return 0;
    // Held under another register they would be asked for again on every run.
    for (const DocumentRecord& record : records)
      if (!fleetRegister_.fiscalNumber.empty() &&
          record.fiscalNumber != fleetRegister_.fiscalNumber)
        throw std::runtime_error("its documents carry fiscal number " + record.fiscalNumber +
                                 ", not " + fleetRegister_.fiscalNumber + " as the fleet says");
    const StoreReport stored = archive_.Store(records, Arrival::kCollected);
    if (records.front().fiscalNumber != notedFiscalNumber_) Note(records.front());
    return stored.stored;
  }

  // The register under its fleet name, with what its documents say of it.
  void Note(const DocumentRecord& document) {
    RegisterRecord record;
    record.name = fleetRegister_.name;
    record.fiscalNumber = document.fiscalNumber.empty() ? fiscalNumber_ : document.fiscalNumber;
    record.serialNumber = document.serialNumber;
    record.taxNumber = document.taxNumber;
    record.protocol = ProtocolName(fleetRegister_.protocol);
    record.address = Address();
    archive_.NoteRegister(record);
    notedFiscalNumber_ = document.fiscalNumber;
  }

  // The documents a fetch lost are counted and named; then a connection that is gone for good
  // ends the run.
  void Account(const FetchResult& fetched) {
    report_.notDelivered += fetched.outcome.Count(Fate::kLost);
    for (const std::string& line : UndeliveredLines(fetched.outcome))
      if (line.find(": lost: ") != std::string::npos) Detail(Cp1251ToUtf8(line));
    progress_.notDelivered = report_.notDelivered;
    if (!session_.Connected()) throw ConnectionLost{};
  }

  void Detail(const std::string& line) {
    if (report_.details.size() < kMaxDetails) report_.details.push_back(line);
  }

  void Incomplete(const std::string& reason) {
    if (report_.outcome == RegisterOutcome::kComplete)
      report_.outcome = RegisterOutcome::kIncomplete;
    if (report_.reason.empty()) report_.reason = reason;
  }

  void Fail(const std::string& reason) {
    report_.outcome = RegisterOutcome::kFailed;
    report_.reason = reason;
  }

  void Show(const std::string& stage) {
    progress_.stage = stage;
    progress_.newReceipts = report_.newReceipts;
    progress_.newZReports = report_.newZReports;
    if (onProgress_) onProgress_(progress_);
  }

  std::string Address() const {
    return fleetRegister_.host + ":" + std::to_string(ServerPort(fleetRegister_));
  }

  // The session's last message to the operator, as the register's own reason.
  std::string LastMessage() const {
    if (ui_.messages.empty()) return {};
    return " (" + Cp1251ToUtf8(ui_.messages.back()) + ")";
  }

  const FleetRegister& fleetRegister_;
  const CollectOptions& options_;
  Archive& archive_;
  const std::function<void(const RegisterProgress&)>& onProgress_;
  RecordingUi ui_;
  Session session_;
  RegisterReport report_;
  RegisterProgress progress_;
  long long done_ = 0;  // numbers of the stage's earlier fetches
  std::string fiscalNumber_, notedFiscalNumber_;
  Holdings held_;
};

}  // namespace

RegisterReport CollectRegister(const FleetRegister& fleetRegister, const CollectOptions& options,
                               Archive& archive,
                               const std::function<void(const RegisterProgress&)>& progress) {
  try {
    return RegisterRun(fleetRegister, options, archive, progress).Run();
  } catch (const std::exception& failure) {
    RegisterReport report;
    report.name = fleetRegister.name;
    report.outcome = RegisterOutcome::kFailed;
    report.reason = failure.what();
    return report;
  }
}

}  // namespace morvek
