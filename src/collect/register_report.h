#pragma once
// What became of one register of a fleet: on its way (progress) and at the end (report). Texts are
// UTF-8.
#include <string>
#include <vector>

namespace morvek {

enum class RegisterOutcome {
  kComplete,     // everything new is in the archive
  kIncomplete,   // read to the end, but some documents did not arrive
  kFailed,       // it broke off: the connection was lost for good, or something failed
  kUnreachable,  // no connection to it
};

struct RegisterProgress {
  std::string stage;              // "connecting", "receipts", "Z-reports"
  long long done = 0, count = 0;  // numbers gone through of those planned for the stage
  long long newReceipts = 0, newZReports = 0, notDelivered = 0;
};

struct RegisterReport {
  std::string name;
  RegisterOutcome outcome = RegisterOutcome::kUnreachable;
  bool connected = false;  // it was reached, whatever came of it then
  long long newReceipts = 0, newZReports = 0;
  long long notDelivered = 0;  // asked for, but not delivered or not readable
  double seconds = 0;
  std::string reason;                // why it failed or could not be reached
  std::vector<std::string> details;  // the documents not delivered, a line for each run of them
};

// Told as registers go; called from the workers' threads, one register at a time each.
class CollectObserver {
 public:
  virtual ~CollectObserver() = default;
  virtual void Started(std::size_t index) = 0;
  virtual void Progressed(std::size_t index, const RegisterProgress& progress) = 0;
  virtual void Finished(std::size_t index, const RegisterReport& report) = 0;
};

}  // namespace morvek
