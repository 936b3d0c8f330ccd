#include "archive/sqlite_rows.h"

namespace morvek {

namespace {

DocumentKind StoredKind(std::string_view name) {
  if (const std::optional<DocumentKind> kind = KindNamed(name)) return *kind;
  throw ArchiveError("the archive holds a document of an unknown kind: " + std::string(name));
}

}  // namespace

FoundDocument ReadFound(const SqliteStatement& row) {
  FoundDocument found;
  found.registerName = row.Text(0);
  found.fiscalNumber = row.Text(1);
  found.kind = StoredKind(row.Text(2));
  found.number = row.Int(3);
  found.di = row.Int(4);
  found.timestamp = row.Text(5);
  found.total = row.Int(6);
  return found;
}

StoredDocument ReadStored(const SqliteStatement& row) {
  return {ReadFound(row), row.Blob(7)};
}

}  // namespace morvek
