#pragma once
// What morvek-cli archive check prints: per register its gaps, its unreadable documents and the
// shifts that are not consistent, as text (money in hryvnias), as CSV by RFC 4180 or as JSON (money
// in kopecks in both).
#include <ostream>
#include <string>
#include <vector>

#include "archive/archive.h"
#include "archive/shift_check.h"

namespace morvek {

struct CheckedRegister {
  RegisterRecord record;
  ShiftCheckReport report;
};

// One block per register: a heading line, a line per finding, a line with the counts.
void WriteCheckText(std::ostream& out, const std::vector<CheckedRegister>& registers);
// A header line, then a row per finding.
void WriteCheckCsv(std::ostream& out, const std::vector<CheckedRegister>& registers);
// {"consistent": ..., "registers": [{..., "gaps": [...], "shifts": [...]}, ...]}
void WriteCheckJson(std::ostream& out, const std::vector<CheckedRegister>& registers);

// The phrases the text and the CSV share.
namespace check_phrase {
// "receipts 15 to 17", "receipt 15"; singular and plural as given.
std::string Run(const NumberRun& run, const std::string& one, const std::string& many);
// "sales payments, form 2", "sales turnover, tax 1", "sale receipts".
std::string Figure(const FigureKey& key);
// "10.01.24" of "2024-01-10 08:23:00"; empty when there is no timestamp.
std::string ShortDate(const std::string& timestamp);
// Why the shift could not be checked: "Z-report 4 is not in the archive", "DI 77 cannot be read".
std::string NotCheckable(const ShiftCheck& shift);
}  // namespace check_phrase

}  // namespace morvek
