#include "archive/document_record.h"

#include "archive/archive_error.h"

namespace morvek {

DocumentRecord ReadDocument(std::string_view) {
  throw ArchiveError("TODO");
}
std::vector<std::string_view> SliceDocuments(std::string_view) {
  throw ArchiveError("TODO");
}

}  // namespace morvek
