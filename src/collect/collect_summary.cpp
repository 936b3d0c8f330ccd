#include "collect/collect_summary.h"

#include <algorithm>
#include <array>

#include "platform/numbers.h"

namespace morvek {

namespace {

// With "." whatever the process locale says.
std::string Seconds(double seconds) {
  return FloatToFixed(seconds, 1, 15) + " s";
}

std::string PadRight(const std::string& text, std::size_t width) {
  return text + std::string(width - std::min(width, DisplayWidth(text)), ' ');
}

std::string PadLeft(const std::string& text, std::size_t width) {
  return std::string(width - std::min(width, DisplayWidth(text)), ' ') + text;
}

std::string Counts(long long receipts, long long zReports, long long notDelivered) {
  return std::to_string(receipts) + " new receipts, " + std::to_string(zReports) +
         " new Z-reports, " + std::to_string(notDelivered) + " not delivered";
}

}  // namespace

int CollectExitStatus(const std::vector<RegisterReport>& reports) {
  const bool allComplete = std::all_of(reports.begin(), reports.end(), [](const auto& report) {
    return report.outcome == RegisterOutcome::kComplete;
  });
  if (allComplete) return kCollectComplete;
  const bool noneReached = std::none_of(reports.begin(), reports.end(),
                                        [](const auto& report) { return report.connected; });
  return noneReached ? kCollectNoneRead : kCollectPartly;
}

std::string OutcomeText(const RegisterReport& report) {
  const auto with = [&report](const char* outcome) {
    return report.reason.empty() ? std::string(outcome)
                                 : std::string(outcome) + ": " + report.reason;
  };
  switch (report.outcome) {
    case RegisterOutcome::kComplete: return "complete";
    case RegisterOutcome::kIncomplete: return with("incomplete");
    case RegisterOutcome::kFailed: return with("failed");
    case RegisterOutcome::kUnreachable: return with("unreachable");
  }
  return {};
}

std::string ProgressLine(std::string_view name, const RegisterProgress& progress) {
  std::string line = std::string(name) + ": " + progress.stage;
  if (progress.count > 0)
    line += " " + std::to_string(progress.done) + " of " + std::to_string(progress.count);
  return line + ", " + Counts(progress.newReceipts, progress.newZReports, progress.notDelivered);
}

std::string FinishedLine(const RegisterReport& report) {
  return report.name + ": " + OutcomeText(report) + ": " +
         Counts(report.newReceipts, report.newZReports, report.notDelivered) + ", " +
         Seconds(report.seconds);
}

std::vector<std::string> SummaryTable(const std::vector<RegisterReport>& reports) {
  constexpr std::size_t kColumns = 6;
  using Row = std::array<std::string, kColumns>;
  std::vector<Row> rows{
      {"register", "new receipts", "new Z-reports", "not delivered", "time", "outcome"}};
  for (const RegisterReport& report : reports)
    rows.push_back({report.name, std::to_string(report.newReceipts),
                    std::to_string(report.newZReports), std::to_string(report.notDelivered),
                    Seconds(report.seconds), OutcomeText(report)});
  std::array<std::size_t, kColumns> widths{};
  for (const Row& row : rows)
    for (std::size_t c = 0; c < kColumns; ++c)
      widths[c] = std::max(widths[c], DisplayWidth(row[c]));
  std::vector<std::string> lines;
  for (const Row& row : rows) {
    // The name to the left, the figures to the right, the outcome as it stands.
    std::string line = PadRight(row[0], widths[0]);
    for (std::size_t c = 1; c + 1 < kColumns; ++c) line += "  " + PadLeft(row[c], widths[c]);
    lines.push_back(line + "  " + row[kColumns - 1]);
  }
  return lines;
}

std::size_t DisplayWidth(std::string_view utf8) {
  // Every byte but a continuation byte (10xxxxxx) begins a character.
  return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace morvek
