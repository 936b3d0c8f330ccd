#include "archive/shift_marks.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "archive/check_register_shifts.h"

namespace morvek {

std::vector<DocumentCheck> ShiftMarks::Check(const std::vector<FoundDocument>& documents) {
  // A shift not closed yet is read up to the last of its register's documents shown.
  std::map<std::string, long long> lastShown;
  for (const FoundDocument& document : documents) {
    auto [at, added] = lastShown.emplace(document.fiscalNumber, document.di);
    if (!added) at->second = std::max(at->second, document.di);
  }
  std::vector<DocumentCheck> checks;
  checks.reserve(documents.size());
  for (const FoundDocument& document : documents)
    checks.push_back(CheckOne(document, lastShown[document.fiscalNumber]));
  return checks;
}

DocumentCheck ShiftMarks::CheckOne(const FoundDocument& document, long long lastShownDi) {
  const Stretch& stretch = StretchOf(document, lastShownDi);
  DocumentCheck check;
  for (const ShiftCheck& shift : stretch.report.shifts)
    if (stretch.zDi && shift.zDi == *stretch.zDi) check.shift = shift;
  const bool zReport = document.kind == DocumentKind::kZReport;
  for (const NumberRun& gap : zReport ? stretch.report.zGaps : stretch.report.receiptGaps)
    if (gap.last + 1 == document.number) check.gapBefore = gap;
  for (const UnreadableDocument& unreadable : stretch.report.unreadable)
    if (unreadable.di == document.di) check.unreadable = unreadable.reason;
  return check;
}

const ShiftMarks::Stretch& ShiftMarks::StretchOf(const FoundDocument& document,
                                                 long long lastShownDi) {
  std::vector<Stretch>& stretches = checked_[document.fiscalNumber];
  for (const Stretch& stretch : stretches)
    if (stretch.firstDi <= document.di && document.di <= stretch.lastDi) return stretch;
  const std::string& fiscalNumber = document.fiscalNumber;
  const std::optional<FoundDocument> opening =
      archive_.Nearest(fiscalNumber, document.di, Side::kBefore, true);
  const std::optional<FoundDocument> closing =
      document.kind == DocumentKind::kZReport
          ? document
          : archive_.Nearest(fiscalNumber, document.di, Side::kAfter, true);
  const long long lastDi = closing ? closing->di : std::max(lastShownDi, document.di);
  Stretch stretch = CheckStretch(fiscalNumber, opening, closing, lastDi);
  // The open shift read up to fewer documents before gives way.
  std::erase_if(stretches, [&stretch](const Stretch& old) {
    return !old.zDi && old.firstDi == stretch.firstDi;
  });
  stretches.push_back(std::move(stretch));
  return stretches.back();
}

ShiftMarks::Stretch ShiftMarks::CheckStretch(const std::string& fiscalNumber,
                                             const std::optional<FoundDocument>& opening,
                                             const std::optional<FoundDocument>& closing,
                                             long long lastDi) {
  Stretch stretch;
  stretch.firstDi = opening ? opening->di + 1 : std::numeric_limits<long long>::min();
  stretch.lastDi = lastDi;
  if (closing) stretch.zDi = closing->di;
  ShiftChecker checker;
  try {
    // The receipt before the opening Z-report and the one after the shift bound its receipt
    // numbers; the opening Z-report makes it checkable.
    if (opening) {
      if (const auto before = archive_.Nearest(fiscalNumber, opening->di, Side::kBefore, false))
        checker.Pass(HeaderOf(*before));
      checker.Pass(HeaderOf(*opening));
    }
    archive_.ForEachDocumentBetween(fiscalNumber, stretch.firstDi, lastDi,
                                    [&](const StoredDocument& stored) {
                                      // An open shift has no figures to check: numbers will do.
                                      if (closing)
                                        AddStored(checker, stored);
                                      else
                                        checker.Pass(HeaderOf(stored.found));
                                    });
    if (const auto after = archive_.Nearest(fiscalNumber, lastDi, Side::kAfter, false))
      checker.Pass(HeaderOf(*after));
  } catch (const std::invalid_argument& e) {
    throw ArchiveError(std::string("the archive lists ") + e.what());
  }
  stretch.report = checker.Finish();
  return stretch;
}

}  // namespace morvek
