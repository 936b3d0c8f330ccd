#include "archive/storable.h"

#include <string>

#include "archive/archive_error.h"

namespace morvek {

void RequireStorable(const DocumentRecord& document) {
  if (document.fiscalNumber.empty())
    throw ArchiveError("document " + std::to_string(document.di) + " names no register");
  if (document.xml.empty())
    throw ArchiveError("document " + std::to_string(document.di) + " comes without its XML");
}

}  // namespace morvek
