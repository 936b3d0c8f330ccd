#pragma once
#include <string>
#include <string_view>

namespace morvek {

// Replaces the error log with the one message and CR LF. A log that cannot be written is passed
// over in silence: rendering goes on either way.
void WriteErrorLog(const std::string& path, std::string_view message);

}  // namespace morvek
