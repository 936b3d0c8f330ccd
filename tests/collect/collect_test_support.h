#pragma once
// What the collector's tests against simulated registers share: dates relative to today, the
// identities of made-up journals, and a run of `morvek-cli collect` with its summary table read.
#include <chrono>
#include <cstdint>
#include <ctime>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include "archive/archive.h"
#include "child_process.h"
#include "sim/journal_generator.h"
#include "test_support.h"

namespace morvek::test {

// DD.MM.YY of the day `days` before today.
inline std::string DaysAgo(int days) {
  const std::time_t then = std::time(nullptr) - static_cast<std::time_t>(days) * 24 * 3600;
  std::tm local{};
  localtime_r(&then, &local);
  char text[16];
  std::strftime(text, sizeof text, "%d.%m.%y", &local);
  return text;
}

// The fiscal number a journal made from the seed carries when none is given.
inline std::string JournalFiscalNumber(std::uint64_t seed, int receipts, int zReports) {
  const std::string xml =
      GenerateJournal({.receipts = receipts, .zReports = zReports, .seed = seed}).xml;
  const std::size_t at = xml.find("FN=\"") + 4;
  return xml.substr(at, xml.find('"', at) - at);
}

// A register's ID_DEV of nine characters.
inline std::string IdDev(std::uint64_t seed) {
  const std::string digits = std::to_string(seed);
  return "ZD" + std::string(7 - digits.size(), '0') + digits;
}

// Every document of a register (its name or fiscal number).
inline FindQuery OfRegister(const std::string& key) {
  FindQuery query;
  query.registerKey = key;
  return query;
}

struct SummaryRow {
  long long newReceipts = -1, newZReports = -1, notDelivered = -1;
  std::string outcome;
};

struct CollectRun {
  int exitCode = -1;
  std::string out, err;

  // The register's line of the summary table; an empty outcome when it has none.
  SummaryRow Row(const std::string& name) const {
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind(name + " ", 0) != 0) continue;
      std::istringstream columns(line.substr(name.size()));
      columns.imbue(std::locale::classic());  // the tests run under a locale with grouping
      SummaryRow row;
      std::string seconds, unit;
      columns >> row.newReceipts >> row.newZReports >> row.notDelivered >> seconds >> unit;
      std::getline(columns >> std::ws, row.outcome);
      return row;
    }
    return {};
  }
};

// morvek-cli collect with args in the folder; killed when it takes longer than the limit.
inline CollectRun RunCollect(const TempDir& dir, std::vector<std::string> args,
                             std::chrono::seconds limit = std::chrono::seconds(300)) {
  args.insert(args.begin(), "collect");
  ChildProcess child(MORVEK_CLI, args, dir.path(), dir.File("collect.out"),
                     dir.File("collect.err"));
  CollectRun run;
  run.exitCode = child.Wait(limit);
  run.out = child.Out();
  run.err = child.Err();
  return run;
}

}  // namespace morvek::test
