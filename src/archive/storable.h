#pragma once
// What every backend asks of a document before it files it.
#include <string_view>
#include <vector>

#include "archive/document_record.h"

namespace morvek {

// Raises ArchiveError for a document the archive cannot file: one without a fiscal number (it
// would belong to no register) or without its XML (it could never be shown again).
void RequireStorable(const DocumentRecord& document);

// The documents of a journal text as ReadDocuments reads them, each one the archive can file;
// raises ArchiveError, for the whole text, where ReadDocuments or RequireStorable does.
std::vector<DocumentRecord> ReadStorableDocuments(std::string_view journal);

}  // namespace morvek
