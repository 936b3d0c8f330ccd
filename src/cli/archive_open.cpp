#include "cli/archive_open.h"

#include <iostream>

namespace morvek {

std::unique_ptr<Archive> OpenNamedArchive(const std::string& named) {
  const std::string location = ArchiveLocation(named);
  try {
    return OpenArchive(location);
  } catch (const std::exception& failure) {
    std::cerr << "morvek-cli: cannot open the archive " << RedactedLocation(location) << ": "
              << failure.what() << '\n';
    return nullptr;
  }
}

void ReportArchiveFailure(const std::exception& failure) {
  std::cerr << "morvek-cli: the archive failed: " << failure.what() << '\n';
}

}  // namespace morvek
