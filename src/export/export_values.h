#pragma once
// How the figures and dates of a document are written in an export: money as hryvnias with two
// places from whole kopecks, quantities with three places from thousandths, and the archive's
// timestamps in ISO 8601. Never through a float.
#include <string>
#include <string_view>

namespace morvek {

// 1250 as "12.50", -5 as "-0.05", 0 as "0.00".
std::string MoneyText(long long kopecks);
// 1000 as "1.000", 1500 as "1.500".
std::string QuantityText(long long thousandths);
// "2024-01-09 08:21:57" as "2024-01-09T08:21:57"; an empty text stays empty, any other as it is.
std::string IsoTimestamp(std::string_view timestamp);

}  // namespace morvek
