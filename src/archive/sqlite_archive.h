#pragma once
#include <memory>
#include <string>

#include "archive/archive.h"

namespace morvek {

// The archive in an SQLite file (":memory:": in memory), created and migrated on opening.
std::unique_ptr<Archive> OpenSqliteArchive(const std::string& path);

}  // namespace morvek
