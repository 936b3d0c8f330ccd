#include "archive/storable.h"

#include <string>

#include "archive/archive_error.h"

namespace morvek {

void RequireStorable(const DocumentRecord& document) {
  if (document.fiscalNumber.empty())
    throw ArchiveError("document DI " + std::to_string(document.di) + " names no register");
  if (document.xml.empty())
    throw ArchiveError("document DI " + std::to_string(document.di) + " comes without its XML");
}

std::vector<DocumentRecord> ReadStorableDocuments(std::string_view journal) {
  std::vector<DocumentRecord> documents = ReadDocuments(journal);
  for (const DocumentRecord& document : documents) RequireStorable(document);
  return documents;
}

}  // namespace morvek
