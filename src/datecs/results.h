#pragma once
// What the program's result callback, PrinterResultsx, shows of a result.
#include <cstdint>
#include <string_view>

namespace morvek::datecs {

// The message of the first status-word bit, in the order the operator is told of them, that is
// set; empty when none of them is.
std::string_view ResultMessage(std::uint32_t statusFlags);

}  // namespace morvek::datecs
