#pragma once
// The archive window's chart: the daily sales and returns of each register over the filtered
// period, a line each (returns dashed, in the register's colour).
#include <vector>

#include "archive/archive.h"

class QChart;

namespace morvek::gui {

// Replaces what the chart shows; registers are named by their fiscal numbers.
void ShowDailyTotals(QChart& chart, const std::vector<DailyTotals>& days);

}  // namespace morvek::gui
