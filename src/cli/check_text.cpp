// The findings of archive check as lines of text and as CSV rows.
#include <functional>
#include <string>

#include "archive/archive_text.h"
#include "cli/check_report.h"

namespace morvek {

namespace {

using namespace check_phrase;

// A finding, as both forms print it.
struct Finding {
  const ShiftCheck* shift = nullptr;  // none for a gap or an unreadable document
  std::string kind;                   // "gap", "unreadable", "incomplete", ...
  std::string key;
  const ShiftDifference* difference = nullptr;
};

// Every finding of a register, in the order printed: gaps, unreadable documents, shifts.
void ForEachFinding(const ShiftCheckReport& report, const std::function<void(const Finding&)>& f) {
  for (const NumberRun& gap : report.receiptGaps)
    f({nullptr, "gap", Run(gap, "receipt", "receipts")});
  for (const NumberRun& gap : report.zGaps) f({nullptr, "gap", Run(gap, "Z-report", "Z-reports")});
  for (const UnreadableDocument& document : report.unreadable)
    f({nullptr, "unreadable", "DI " + std::to_string(document.di) + ": " + document.reason});
  for (const ShiftCheck& shift : report.shifts) {
    switch (shift.state) {
      case ShiftState::kConsistent: break;
      case ShiftState::kWithoutOpening:
      case ShiftState::kUnreadable: f({&shift, "not checkable", NotCheckable(shift)}); break;
      case ShiftState::kIncomplete:
        for (const NumberRun& run : shift.missingDis)
          f({&shift, "incomplete", Run(run, "DI", "DI")});
        for (const NumberRun& run : shift.missingReceipts)
          f({&shift, "incomplete", Run(run, "receipt", "receipts")});
        break;
      case ShiftState::kDiffers:
        for (const ShiftDifference& d : shift.differences)
          f({&shift, "difference", Figure(d.key), &d});
        break;
    }
  }
}

std::string Amount(const ShiftDifference& d, long long value) {
  return IsMoney(d.key.figure) ? Hryvnias(value) : std::to_string(value);
}

std::string Heading(const RegisterRecord& record) {
  if (record.name.empty()) return "Register " + record.fiscalNumber;
  return "Register " + record.name + " (fiscal number " + record.fiscalNumber + ")";
}

// A field as RFC 4180 has it: quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace

void WriteCheckText(std::ostream& out, const std::vector<CheckedRegister>& registers) {
  if (registers.empty()) out << "The archive holds no registers\n";
  for (const CheckedRegister& checked : registers) {
    const ShiftCheckReport& report = checked.report;
    out << Heading(checked.record) << '\n';
    ForEachFinding(report, [&out](const Finding& finding) {
      out << "  ";
      if (finding.shift) {
        out << "Z-report " << finding.shift->zNumber;
        if (!finding.shift->zTimestamp.empty())
          out << " of " << ShortDate(finding.shift->zTimestamp);
        out << ": ";
      }
      if (const ShiftDifference* d = finding.difference)
        out << finding.key << ": Z-report " << Amount(*d, d->zReport) << ", receipts "
            << Amount(*d, d->receipts) << '\n';
      else if (finding.kind == "incomplete")
        out << "incomplete, lacks " << finding.key << '\n';
      else
        out << finding.kind << ": " << finding.key << '\n';
    });
    const long long gaps = report.receiptGaps.size() + report.zGaps.size();
    out << "  " << report.shifts.size() << (report.shifts.size() == 1 ? " shift: " : " shifts: ")
        << report.ShiftsIn(ShiftState::kConsistent) << " consistent, "
        << report.ShiftsIn(ShiftState::kDiffers) << " with differences, "
        << report.ShiftsIn(ShiftState::kIncomplete) << " incomplete, "
        << report.ShiftsIn(ShiftState::kWithoutOpening) + report.ShiftsIn(ShiftState::kUnreadable)
        << " not checkable; " << gaps << (gaps == 1 ? " gap" : " gaps") << ", "
        << report.unreadable.size() << " unreadable documents\n";
  }
}

void WriteCheckCsv(std::ostream& out, const std::vector<CheckedRegister>& registers) {
  out << "register,fiscal_number,shift,date,finding,key,z_report,receipts\r\n";
  for (const CheckedRegister& checked : registers) {
    const std::string registerFields =
        CsvField(checked.record.name) + "," + CsvField(checked.record.fiscalNumber) + ",";
    ForEachFinding(checked.report, [&](const Finding& finding) {
      out << registerFields;
      if (finding.shift)
        out << finding.shift->zNumber << "," << finding.shift->zTimestamp.substr(0, 10);
      else
        out << ",";
      out << "," << CsvField(finding.kind) << "," << CsvField(finding.key) << ",";
      if (finding.difference)
        out << finding.difference->zReport << "," << finding.difference->receipts;
      else
        out << ",";
      out << "\r\n";
    });
  }
}

}  // namespace morvek
