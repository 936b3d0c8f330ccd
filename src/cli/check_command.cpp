// morvek-cli archive check: the shifts of the registers in the archive, each Z-report against the
// receipts of its shift, and the receipts and Z-reports the archive lacks.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "archive/archive_text.h"
#include "archive/check_register_shifts.h"
#include "cli/archive_commands.h"
#include "cli/archive_open.h"
#include "cli/check_report.h"

namespace morvek {

namespace {

struct CheckOptions {
  std::string archive, registerKey, from, to;
  std::string format = "text";
};

// Exit statuses.
constexpr int kConsistent = 0;
constexpr int kFailed = 1;  // the archive cannot be read, or the output cannot be written
constexpr int kUsage = 2;
constexpr int kFound = 3;  // differences, gaps, incomplete shifts or unreadable documents

// "YYYY-MM-DD" of a "DD.MM.YY" date; empty when it is none.
std::string IsoDate(const std::string& text) {
  return DayStart(text).value_or("").substr(0, 10);
}

CLI::Validator DateValidator() {
  return CLI::Validator(
      [](std::string& text) { return IsoDate(text).empty() ? "not a date DD.MM.YY: " + text : ""; },
      "DD.MM.YY");
}

int RunCheck(const CheckOptions& options) {
  const ShiftCheckLimits limits{IsoDate(options.from), IsoDate(options.to)};
  std::vector<CheckedRegister> checked;
  const std::unique_ptr<Archive> archive = OpenNamedArchive(options.archive);
  if (!archive) return kFailed;
  try {
    std::vector<RegisterRecord> registers;
    if (options.registerKey.empty()) {
      registers = archive->Registers();
    } else if (auto found = archive->FindRegister(options.registerKey)) {
      registers.push_back(std::move(*found));
    } else {
      std::cerr << "morvek-cli: the archive holds no register " << options.registerKey << '\n';
      return kUsage;
    }
    for (RegisterRecord& record : registers) {
      ShiftCheckReport report = CheckRegisterShifts(*archive, record.fiscalNumber, limits);
      checked.push_back({std::move(record), std::move(report)});
    }
  } catch (const ArchiveError& failure) {
    ReportArchiveFailure(failure);
    return kFailed;
  }

  if (options.format == "csv")
    WriteCheckCsv(std::cout, checked);
  else if (options.format == "json")
    WriteCheckJson(std::cout, checked);
  else
    WriteCheckText(std::cout, checked);
  if (!std::cout.flush()) {
    std::cerr << "morvek-cli: cannot write the findings to standard output\n";
    return kFailed;
  }
  for (const CheckedRegister& one : checked)
    if (!one.report.Consistent()) return kFound;
  return kConsistent;
}

}  // namespace

void AddCheckCommand(CLI::App& archive, int& exitCode) {
  auto options = std::make_shared<CheckOptions>();
  CLI::App* check = archive.add_subcommand(
      "check", "Check the shifts: each Z-report against its receipts; gaps in the numbers");
  AddArchiveOption(*check, options->archive);
  check->add_option("--register", options->registerKey,
                    "Only the register of this name or fiscal number");
  check->add_option("--from", options->from, "Only shifts whose Z-report is of this day or later")
      ->check(DateValidator());
  check->add_option("--to", options->to, "Only shifts whose Z-report is of this day or earlier")
      ->check(DateValidator());
  check
      ->add_option("--format", options->format,
                   "Output format (money: hryvnias in text, "
                   "kopecks in csv and json)")
      ->check(CLI::IsMember({"text", "csv", "json"}));
  check->footer(
      "A shift is checked when the archive holds the Z-report that opened it (or it is the "
      "register's first). Gaps are listed when the document held right after them lies in "
      "--from..--to.\n"
      "Exit status: 0 when everything checked is consistent; 3 when differences, gaps, incomplete "
      "shifts or unreadable documents were found; 1 when the archive cannot be read or the output "
      "cannot be written; 2 on a usage error or a register the archive does not hold. Shifts that "
      "cannot be checked because the Z-report that opened them is not in the archive are listed, "
      "but alone do not make the status 3.");
  check->callback([options, &exitCode] { exitCode = RunCheck(*options); });
}

}  // namespace morvek
