#pragma once
// The shifts of one register of an archive checked: its documents read back from their stored XML
// in DI order and handed to a ShiftChecker. A document whose XML cannot be read is noted as such
// and leaves its shift unchecked; the rest is checked all the same.
#include <string_view>

#include "archive/archive.h"
#include "archive/shift_check.h"

namespace morvek {

// Raises ArchiveError when the archive cannot be read.
ShiftCheckReport CheckRegisterShifts(Archive& archive, std::string_view fiscalNumber,
                                     const ShiftCheckLimits& limits);

}  // namespace morvek
