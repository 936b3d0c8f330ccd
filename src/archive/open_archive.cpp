#include <string>

#include "archive/archive.h"
#include "archive/postgres_archive.h"
#include "archive/sqlite_archive.h"

namespace morvek {

std::unique_ptr<Archive> OpenArchive(const std::string& location) {
  if (location.starts_with("postgresql://") || location.starts_with("postgres://"))
    return OpenPostgresArchive(location);
  return OpenSqliteArchive(location);
}

}  // namespace morvek
