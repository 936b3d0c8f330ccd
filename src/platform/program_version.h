#pragma once
// What `--version` prints for each of the three programs: its name, the project's version (set
// once, in CMakeLists.txt) and the Git commit it was built from.
#include <string>

namespace morvek {

// "morvek-cli 0.1.0 (commit 1a2b3c4d5e6f)".
std::string VersionLine(const std::string& program);

}  // namespace morvek
