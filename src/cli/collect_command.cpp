// morvek-cli collect: every register of a fleet brought up to date in the archive, several at
// once, with a summary table at the end.
#include <ctime>
#include <exception>
#include <iostream>
#include <memory>

#include "archive/archive.h"
#include "cli/archive_commands.h"
#include "cli/collect_progress.h"
#include "cli/commands.h"
#include "collect/collect_dates.h"
#include "collect/collect_summary.h"
#include "collect/fleet.h"
#include "collect/fleet_collector.h"

namespace morvek {

namespace {

struct CollectArguments {
  std::string fleet;
  std::string archive;
  int jobs = 8;
  std::string since;  // DD.MM.YY
};

constexpr int kUsage = 2;

int Collect(const CollectArguments& arguments) {
  std::vector<FleetRegister> fleet;
  try {
    fleet = ReadFleet(arguments.fleet);
  } catch (const FleetError& failure) {
    std::cerr << "morvek-cli: collect: " << failure.what() << '\n';
    return kUsage;
  }
  CollectOptions options;
  options.archive = ArchiveLocation(arguments.archive);
  options.jobs = arguments.jobs;
  const std::time_t now = std::time(nullptr);
  localtime_r(&now, &options.now);
  options.sinceGiven = !arguments.since.empty();
  options.since = options.sinceGiven ? StartOfDay(arguments.since).value_or("")
                                     : FirstOfPreviousMonth(options.now);
  // Opened once before the workers open it side by side: created or migrated here, alone.
  try {
    OpenArchive(options.archive);
  } catch (const std::exception& failure) {
    std::cerr << "morvek-cli: collect: " << failure.what() << '\n';
    return kCollectNoneRead;
  }

  std::vector<std::string> names;
  for (const FleetRegister& entry : fleet) names.push_back(entry.name);
  const CollectProgress::Terminal terminal = CollectProgress::StandardError(fleet.size());
  CollectProgress progress(names, terminal.live, terminal.columns);
  const std::vector<RegisterReport> reports = CollectFleet(fleet, options, progress);

  for (const RegisterReport& report : reports)
    for (const std::string& line : report.details)
      std::cerr << "morvek-cli: collect: " << report.name << ": " << line << '\n';
  for (const std::string& line : SummaryTable(reports)) std::cout << line << '\n';
  std::cout << std::flush;
  return CollectExitStatus(reports);
}

}  // namespace

void AddCollectCommand(CLI::App& app, int& exitCode) {
  auto arguments = std::make_shared<CollectArguments>();
  CLI::App* command =
      app.add_subcommand("collect", "Bring every register of a fleet up to date in the archive");
  command->footer(
      "FLEET.ini has a [name] section for each register with the keys host, port (optional), "
      "protocol (datecs or zelmar), fiscal-number or id-dev, and password (optional).\n"
      "Exit status: 0 when every register is complete; 3 when some documents were not delivered "
      "or some registers could not be read (each named); 1 when no register could be read or the "
      "archive cannot be opened; 2 on a usage error, such as an incomplete section of the fleet "
      "file.");
  command->add_option("--fleet", arguments->fleet, "The fleet file")->required();
  AddArchiveOption(*command, arguments->archive);
  command->add_option("--jobs", arguments->jobs, "Registers read at once (default 8)")
      ->check(CLI::Range(1, 256));
  command
      ->add_option("--since", arguments->since,
                   "Receipts from this day on, DD.MM.YY (default: from the newest receipt held, "
                   "else the first day of the previous month)")
      ->check(CLI::Validator(
          [](const std::string& text) {
            return StartOfDay(text) ? std::string() : "not a day DD.MM.YY: " + text;
          },
          "DD.MM.YY"));
  command->callback([arguments, &exitCode] { exitCode = Collect(*arguments); });
}

}  // namespace morvek
