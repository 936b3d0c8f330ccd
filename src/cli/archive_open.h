#pragma once
// The archive a command names with --archive (else the settings file's, else the default file),
// opened; a failure is told on standard error without the password of a connection string.
#include <memory>
#include <string>

#include "archive/archive.h"

namespace morvek {

// Nothing when it cannot be opened (already reported).
std::unique_ptr<Archive> OpenNamedArchive(const std::string& named);

// An archive failure while a command runs, reported the same way.
void ReportArchiveFailure(const std::exception& failure);

}  // namespace morvek
