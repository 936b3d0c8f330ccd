#pragma once
// The text image of one document, exactly as `morvek-cli archive show` prints it, in UTF-8.
#include <string>
#include <vector>

#include "archive/document_record.h"

namespace morvek {

// Raises ExportError naming the document when it does not render (its failure goes to
// error.log, as the retrieval window logs it).
std::vector<std::string> TextImage(const DocumentRecord& document);

}  // namespace morvek
