#pragma once
// One row of an export: named fields, each a text, or a whole number a JSON reader may take as a
// number. The CSV files write the fields in the order of their columns (an absent one empty), the
// JSON lines only those present. Money is a text ("12.50"), so no reader takes it through a float.
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace morvek {

struct ExportField {
  std::string text;
  bool number = false;
};

struct ExportRow {
  std::map<std::string_view, ExportField> fields;

  ExportRow& Text(std::string_view column, std::string text);
  ExportRow& Number(std::string_view column, long long value);
  ExportRow& Money(std::string_view column, long long kopecks);
  ExportRow& Quantity(std::string_view column, long long thousandths);

  // The text of a column; empty when absent.
  std::string At(std::string_view column) const;
  // The texts of the columns in their order.
  std::vector<std::string> Cells(const std::vector<std::string_view>& columns) const;
};

}  // namespace morvek
