#pragma once
// What a collector tells of a run: a line per register as it goes and as it ends, the table at the
// end, and the exit status. UTF-8.
#include <string>
#include <string_view>
#include <vector>

#include "collect/register_report.h"

namespace morvek {

// Exit statuses of a run.
inline constexpr int kCollectComplete = 0;  // every register is up to date
inline constexpr int kCollectNoneRead = 1;  // no register could be reached (or no archive)
inline constexpr int kCollectPartly = 3;    // documents were lost or registers not read

int CollectExitStatus(const std::vector<RegisterReport>& reports);

// "complete", "incomplete: ...", "failed: ...", "unreachable: ...".
std::string OutcomeText(const RegisterReport& report);

// "Каса 1: receipts 340 of 1990, 300 new receipts, 0 new Z-reports, 2 not delivered".
std::string ProgressLine(std::string_view name, const RegisterProgress& progress);
// "Каса 1: complete: 1990 new receipts, 3 new Z-reports, 0 not delivered, 12.3 s".
std::string FinishedLine(const RegisterReport& report);

// A header and a line for each register: register, new receipts, new Z-reports, not delivered,
// time, outcome; the columns aligned by the characters shown, not by bytes.
std::vector<std::string> SummaryTable(const std::vector<RegisterReport>& reports);

// The characters a UTF-8 text shows (its code points).
std::size_t DisplayWidth(std::string_view utf8);

}  // namespace morvek
