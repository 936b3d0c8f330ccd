#pragma once
// Comma-separated text as spreadsheets and accounting systems read it: fields separated by
// commas, every record ended by CR LF, a field quoted when it holds a comma, a quote, CR or LF, and
// a quote inside a quoted field doubled.
#include <string>
#include <string_view>
#include <vector>

namespace morvek {

std::string CsvField(std::string_view text);
// The fields as one record, CR LF included.
std::string CsvRecord(const std::vector<std::string>& fields);

}  // namespace morvek
