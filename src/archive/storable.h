#pragma once
// What every backend asks of a document before it files it.
#include "archive/document_record.h"

namespace morvek {

// Raises ArchiveError for a document the archive cannot file: one without a fiscal number (it
// would belong to no register) or without its XML (it could never be shown again).
void RequireStorable(const DocumentRecord& document);

}  // namespace morvek
