#pragma once
// The shifts of one register of an archive checked: its documents read back from their stored XML
// in DI order and handed to a ShiftChecker. A document whose XML cannot be read is noted as such
// and leaves its shift unchecked; the rest is checked all the same.
#include <string_view>

#include "archive/archive.h"
#include "archive/shift_check.h"

namespace morvek {

// What the checker needs of a document it passes by: its DI, kind, number and timestamp.
DocumentRecord HeaderOf(const FoundDocument& found);
// The document read from its XML and added; one that cannot be read (or names another DI) is
// added as unreadable.
void AddStored(ShiftChecker& checker, const StoredDocument& stored);

// Raises ArchiveError when the archive cannot be read.
ShiftCheckReport CheckRegisterShifts(Archive& archive, std::string_view fiscalNumber,
                                     const ShiftCheckLimits& limits);

}  // namespace morvek
