#pragma once
#include <memory>
#include <string>

#include "archive/archive.h"

namespace morvek {

// The archive in a PostgreSQL database (a libpq connection string), created and migrated on
// connecting.
std::unique_ptr<Archive> OpenPostgresArchive(const std::string& connection);

}  // namespace morvek
