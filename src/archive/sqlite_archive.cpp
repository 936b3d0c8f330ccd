#include "archive/sqlite_archive.h"

namespace morvek {

std::unique_ptr<Archive> OpenSqliteArchive(const std::string&) {
  throw ArchiveError("TODO: the sqlite backend");
}

}  // namespace morvek
