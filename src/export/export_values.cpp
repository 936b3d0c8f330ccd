#include "export/export_values.h"

#include "archive/archive_text.h"

namespace morvek {

std::string MoneyText(long long kopecks) {
  return Hryvnias(kopecks);
}

std::string QuantityText(long long thousandths) {
  return FixedPoint(thousandths, 3);
}

std::string IsoTimestamp(std::string_view timestamp) {
  std::string iso(timestamp);
  if (iso.size() == 19 && iso[10] == ' ') iso[10] = 'T';
  return iso;
}

}  // namespace morvek
