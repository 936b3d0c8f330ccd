#include "collect/fleet_collector.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <map>
#include <memory>
#include <thread>

#include "archive/archive.h"
#include "collect/register_collector.h"

namespace morvek {

namespace {

// The registers behind one server address, in fleet order: a remote-access server may take one
// connection at a time, so they are read one after another by one worker.
std::vector<std::vector<std::size_t>> ByAddress(const std::vector<FleetRegister>& fleet) {
  std::vector<std::vector<std::size_t>> groups;
  std::map<std::pair<std::string, int>, std::size_t> groupOf;
  for (std::size_t i = 0; i < fleet.size(); ++i) {
    const auto key = std::make_pair(fleet[i].host, ServerPort(fleet[i]));
    const auto [at, added] = groupOf.emplace(key, groups.size());
    if (added) groups.emplace_back();
    groups[at->second].push_back(i);
  }
  return groups;
}

void Work(const std::vector<FleetRegister>& fleet,
          const std::vector<std::vector<std::size_t>>& groups, const CollectOptions& options,
          CollectObserver& observer, std::atomic<std::size_t>& next,
          std::vector<RegisterReport>& reports) {
  std::unique_ptr<Archive> archive;
  std::string archiveFailure;
  try {
    archive = OpenArchive(options.archive);
  } catch (const std::exception& failure) {
    archiveFailure = failure.what();
  }
  for (std::size_t g = next++; g < groups.size(); g = next++) {
    for (const std::size_t i : groups[g]) {
      observer.Started(i);
      RegisterReport report;
      if (archive) {
        report = CollectRegister(
            fleet[i], options, *archive,
            [&observer, i](const RegisterProgress& p) { observer.Progressed(i, p); });
      } else {
        report.name = fleet[i].name;
        report.outcome = RegisterOutcome::kFailed;
        report.reason = archiveFailure;
      }
      // Each slot is written by the one worker that took its register.
      reports[i] = report;
      observer.Finished(i, report);
    }
  }
}

}  // namespace

std::vector<RegisterReport> CollectFleet(const std::vector<FleetRegister>& fleet,
                                         const CollectOptions& options, CollectObserver& observer) {
  std::vector<RegisterReport> reports(fleet.size());
  const std::vector<std::vector<std::size_t>> groups = ByAddress(fleet);
  std::atomic<std::size_t> next{0};
  const std::size_t workers =
      std::min(groups.size(), static_cast<std::size_t>(std::max(options.jobs, 1)));
  std::vector<std::thread> threads;
  for (std::size_t w = 0; w < workers; ++w)
    threads.emplace_back(Work, std::cref(fleet), std::cref(groups), std::cref(options),
                         std::ref(observer), std::ref(next), std::ref(reports));
  for (std::thread& thread : threads) thread.join();
  return reports;
}

}  // namespace morvek
