#pragma once
// The columns every listing of documents reads, in one order, and their reading.
#include <string_view>

#include "archive/archive.h"
#include "archive/sqlite_statement.h"

namespace morvek {

// Over documents d joined with registers r; the XML, where wanted, follows as column 7.
inline constexpr std::string_view kFoundColumns =
    "r.name, r.fiscal_number, d.kind, d.number, d.di, d.ts, d.total";

FoundDocument ReadFound(const SqliteStatement& row);
StoredDocument ReadStored(const SqliteStatement& row);

}  // namespace morvek
