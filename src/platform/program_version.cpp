#include "platform/program_version.h"

#include "morvek_version.h"

namespace morvek {

std::string VersionLine(const std::string& program) {
  return program + " " + MORVEK_VERSION + " (commit " + MORVEK_COMMIT + ")";
}

}  // namespace morvek
