#include "export/export_row.h"

#include "export/export_values.h"

namespace morvek {

ExportRow& ExportRow::Text(std::string_view column, std::string text) {
  fields[column] = {std::move(text), false};
  return *this;
}

ExportRow& ExportRow::Number(std::string_view column, long long value) {
  fields[column] = {std::to_string(value), true};
  return *this;
}

ExportRow& ExportRow::Money(std::string_view column, long long kopecks) {
  return Text(column, MoneyText(kopecks));
}

ExportRow& ExportRow::Quantity(std::string_view column, long long thousandths) {
  return Text(column, QuantityText(thousandths));
}

std::string ExportRow::At(std::string_view column) const {
  const auto found = fields.find(column);
  return found == fields.end() ? std::string() : found->second.text;
}

std::vector<std::string> ExportRow::Cells(const std::vector<std::string_view>& columns) const {
  std::vector<std::string> cells;
  cells.reserve(columns.size());
  for (const std::string_view column : columns) cells.push_back(At(column));
  return cells;
}

}  // namespace morvek
