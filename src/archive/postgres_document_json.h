#pragma once
// Documents as the PostgreSQL archive hands them to the server: one JSON array, an object for each
// document with its row's values, its XML in Base64, the rows of its lines for each line table
// keyed as the columns, and its search words.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "archive/document_record.h"

namespace morvek {

// The tables a document's lines go to; each document's "lines" has an array for each.
inline constexpr std::array<std::string_view, 11> kPostgresLineTables{
    "items", "adjustments", "payments",   "cash_lines", "text_lines", "voids",
    "taxes", "z_taxes",     "z_payments", "z_cash",     "z_counts"};

// Raises ArchiveError for a document whose texts are not UTF-8.
std::string DocumentsJson(const std::vector<const DocumentRecord*>& documents);

}  // namespace morvek
