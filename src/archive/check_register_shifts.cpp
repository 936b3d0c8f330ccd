#include "archive/check_register_shifts.h"

#include <stdexcept>
#include <string>

namespace morvek {

ShiftCheckReport CheckRegisterShifts(Archive& archive, std::string_view fiscalNumber,
                                     const ShiftCheckLimits& limits) {
  ShiftChecker checker(limits);
  try {
    // Every document: a shift in the limits needs the Z-report that opened it and the receipt
    // numbers around it, which may lie before the limits.
    archive.ForEachDocument(fiscalNumber, "", "", [&checker](const StoredDocument& stored) {
      DocumentRecord header;
      header.di = stored.found.di;
      header.kind = stored.found.kind;
      header.number = stored.found.number;
      header.timestamp = stored.found.timestamp;
      DocumentRecord record;
      try {
        record = ReadDocument(stored.xml);
      } catch (const ArchiveError& e) {
        checker.AddUnreadable(header, e.what());
        return;
      }
      if (record.di != header.di)
        checker.AddUnreadable(header, "its XML names DI " + std::to_string(record.di));
      else
        checker.Add(record);
    });
  } catch (const std::invalid_argument& e) {
    throw ArchiveError(std::string("the archive lists ") + e.what());
  }
  return checker.Finish();
}

}  // namespace morvek
