#include "archive/check_register_shifts.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace morvek {

DocumentRecord HeaderOf(const FoundDocument& found) {
  DocumentRecord header;
  header.di = found.di;
  header.kind = found.kind;
  header.number = found.number;
  header.timestamp = found.timestamp;
  return header;
}

void AddStored(ShiftChecker& checker, const StoredDocument& stored) {
  const DocumentRecord header = HeaderOf(stored.found);
  DocumentRecord record;
  try {
    record = ReadDocument(stored.xml);
  } catch (const ArchiveError& e) {
    return checker.AddUnreadable(header, e.what());
  }
  if (record.di != header.di)
    checker.AddUnreadable(header, "its XML names DI " + std::to_string(record.di));
  else
    checker.Add(record);
}

namespace {

// The DIs (first..last) of the shifts whose Z-report lies in the limits: only their documents'
// XML needs reading, which is what takes the time.
std::vector<NumberRun> ShiftsInLimits(Archive& archive, std::string_view fiscalNumber,
                                      const ShiftCheckLimits& limits) {
  std::vector<NumberRun> runs;
  long long shiftStart = 0;
  bool first = true;
  archive.ForEachDocument(fiscalNumber, "", "", [&](const StoredDocument& stored) {
    const FoundDocument& found = stored.found;
    if (first) shiftStart = found.di, first = false;
    if (found.kind != DocumentKind::kZReport) return;
    if (limits.Contain(found.timestamp)) runs.push_back({shiftStart, found.di});
    shiftStart = found.di + 1;
  });
  return runs;
}

}  // namespace

ShiftCheckReport CheckRegisterShifts(Archive& archive, std::string_view fiscalNumber,
                                     const ShiftCheckLimits& limits) {
  const bool limited = !limits.from.empty() || !limits.to.empty();
  const std::vector<NumberRun> read =
      limited ? ShiftsInLimits(archive, fiscalNumber, limits) : std::vector<NumberRun>{};
  std::size_t next = 0;  // the first run of `read` not yet behind the documents: both go by DI
  const auto toRead = [&](long long di) {
    if (!limited) return true;
    while (next < read.size() && read[next].last < di) ++next;
    return next < read.size() && read[next].first <= di;
  };
  ShiftChecker checker(limits);
  try {
    // Every document: a shift in the limits needs the Z-report that opened it and the receipt
    // numbers around it, which may lie outside them.
    archive.ForEachDocument(fiscalNumber, "", "", [&](const StoredDocument& stored) {
      if (!toRead(stored.found.di)) return checker.Pass(HeaderOf(stored.found));
      AddStored(checker, stored);
    });
  } catch (const std::invalid_argument& e) {
    throw ArchiveError(std::string("the archive lists ") + e.what());
  }
  return checker.Finish();
}

}  // namespace morvek
