#include "archive/postgres_archive.h"

namespace morvek {

std::unique_ptr<Archive> OpenPostgresArchive(const std::string&) {
  throw ArchiveError("TODO: the postgres backend");
}

}  // namespace morvek
