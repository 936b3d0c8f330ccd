#include "archive/shift_check.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>

namespace morvek {

namespace {

constexpr long long kNone = std::numeric_limits<long long>::min();

// The numbers of lo..hi that sortedHeld lacks, as runs.
std::vector<NumberRun> MissingRuns(long long lo, long long hi,
                                   const std::vector<long long>& sortedHeld) {
  std::vector<NumberRun> runs;
  if (lo > hi) return runs;
  long long next = lo;
  for (const long long n : sortedHeld) {
    if (n < next) continue;
    if (n > hi) break;
    if (n > next) runs.push_back({next, n - 1});
    if (n == hi) return runs;
    next = n + 1;
  }
  runs.push_back({next, hi});
  return runs;
}

}  // namespace

bool ShiftCheckLimits::Contain(const std::string& timestamp) const {
  if (timestamp.empty()) return true;
  const std::string_view date = std::string_view(timestamp).substr(0, 10);
  return (from.empty() || date >= from) && (to.empty() || date <= to);
}

bool ShiftCheckReport::Consistent() const {
  return receiptGaps.empty() && zGaps.empty() && unreadable.empty() &&
         ShiftsIn(ShiftState::kDiffers) == 0 && ShiftsIn(ShiftState::kIncomplete) == 0 &&
         ShiftsIn(ShiftState::kUnreadable) == 0;
}

long long ShiftCheckReport::ShiftsIn(ShiftState state) const {
  return std::count_if(shifts.begin(), shifts.end(),
                       [state](const ShiftCheck& shift) { return shift.state == state; });
}

ShiftChecker::ShiftChecker(ShiftCheckLimits limits) : limits_(std::move(limits)) {}

void ShiftChecker::Add(const DocumentRecord& document) {
  CheckOrder(document.di);
  if (document.kind == DocumentKind::kZReport)
    open_.zReport = ZReportFigures(document);
  else
    AddToShift(open_.receipts, document);
  Note(document);
}

void ShiftChecker::AddUnreadable(const DocumentRecord& header, std::string reason) {
  CheckOrder(header.di);
  open_.unreadableDis.push_back(header.di);
  if (limits_.Contain(header.timestamp)) unreadable_.push_back({header.di, std::move(reason)});
  Note(header);
}

void ShiftChecker::Pass(const DocumentRecord& header) {
  CheckOrder(header.di);
  Note(header);
}

void ShiftChecker::CheckOrder(long long di) const {
  if (!held_.empty() && di <= held_.back().di)
    throw std::invalid_argument("documents out of DI order: DI " + std::to_string(di) +
                                " after DI " + std::to_string(held_.back().di));
}

void ShiftChecker::Note(const DocumentRecord& document) {
  const bool zReport = document.kind == DocumentKind::kZReport;
  held_.push_back({document.di, document.number, zReport, document.timestamp.substr(0, 10)});
  if (!zReport) return;
  open_.z = held_.size() - 1;
  open_.zTimestamp = document.timestamp;
  segments_.push_back(std::move(open_));
  open_ = Segment{};
  open_.first = held_.size();
}

std::vector<NumberRun> ShiftChecker::Gaps(bool zReports) const {
  std::vector<std::pair<long long, const std::string*>> numbers;  // with the document's date
  for (const Held& document : held_)
    if (document.zReport == zReports) numbers.emplace_back(document.number, &document.date);
  std::stable_sort(numbers.begin(), numbers.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<NumberRun> gaps;
  for (std::size_t i = 1; i < numbers.size(); ++i) {
    const long long before = numbers[i - 1].first, after = numbers[i].first;
    if (after > before + 1 && limits_.Contain(*numbers[i].second))
      gaps.push_back({before + 1, after - 1});
  }
  return gaps;
}

ShiftCheck ShiftChecker::Check(std::size_t index, long long numberBefore,
                               long long numberAfter) const {
  const Segment& segment = segments_[index];
  const Held& z = held_[segment.z];
  ShiftCheck shift;
  shift.zNumber = z.number;
  shift.zDi = z.di;
  shift.zTimestamp = segment.zTimestamp;

  long long firstDi = 0;
  if (index > 0 && held_[segments_[index - 1].z].number == z.number - 1) {
    firstDi = held_[segments_[index - 1].z].di + 1;
  } else if (index == 0 && z.number == 1) {
    firstDi = held_.front().di;  // the register's first shift: from its first document held
  } else {
    shift.state = ShiftState::kWithoutOpening;
    return shift;
  }
  if (!segment.unreadableDis.empty()) {
    shift.state = ShiftState::kUnreadable;
    shift.unreadableDis = segment.unreadableDis;
    return shift;
  }

  std::vector<long long> dis, numbers;
  for (std::size_t i = segment.first; i < segment.z; ++i) {
    dis.push_back(held_[i].di);
    numbers.push_back(held_[i].number);
  }
  std::sort(numbers.begin(), numbers.end());
  shift.missingDis = MissingRuns(firstDi, z.di - 1, dis);
  // Receipt numbers run on from the last receipt before the shift to the first after it; where
  // there is none, from the shift's own first or to its own last.
  const long long lo = numberBefore != kNone ? numberBefore + 1
                       : numbers.empty()     ? kNone
                                             : numbers.front();
  const long long hi = numberAfter != kNone ? numberAfter - 1
                       : numbers.empty()    ? kNone
                                            : numbers.back();
  if (lo != kNone && hi != kNone) shift.missingReceipts = MissingRuns(lo, hi, numbers);

  if (!shift.missingDis.empty() || !shift.missingReceipts.empty()) {
    shift.state = ShiftState::kIncomplete;
    return shift;
  }
  shift.differences = Differences(segment.zReport, segment.receipts);
  shift.state = shift.differences.empty() ? ShiftState::kConsistent : ShiftState::kDiffers;
  return shift;
}

ShiftCheckReport ShiftChecker::Finish() const {
  ShiftCheckReport report;
  report.receiptGaps = Gaps(false);
  report.zGaps = Gaps(true);
  report.unreadable = unreadable_;

  // The largest receipt number held before each shift and the smallest after it.
  const std::size_t count = segments_.size();
  std::vector<long long> before(count, kNone), after(count, kNone);
  long long largest = kNone;
  for (std::size_t i = 0; i < count; ++i) {
    before[i] = largest;
    for (std::size_t d = segments_[i].first; d < segments_[i].z; ++d)
      largest = std::max(largest, held_[d].number);
  }
  long long smallest = kNone;
  const auto takeSmaller = [&smallest](long long n) {
    if (smallest == kNone || n < smallest) smallest = n;
  };
  for (std::size_t d = open_.first; d < held_.size(); ++d) takeSmaller(held_[d].number);
  for (std::size_t i = count; i-- > 0;) {
    after[i] = smallest;
    for (std::size_t d = segments_[i].first; d < segments_[i].z; ++d) takeSmaller(held_[d].number);
  }

  for (std::size_t i = 0; i < count; ++i)
    if (limits_.Contain(held_[segments_[i].z].date))
      report.shifts.push_back(Check(i, before[i], after[i]));
  return report;
}

ShiftCheckReport CheckShifts(const std::vector<DocumentRecord>& documents,
                             const ShiftCheckLimits& limits) {
  ShiftChecker checker(limits);
  for (const DocumentRecord& document : documents) checker.Add(document);
  return checker.Finish();
}

}  // namespace morvek
