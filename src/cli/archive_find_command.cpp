// morvek-cli archive find: the documents of the archive that match every condition given, a line
// each.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/archive_text.h"
#include "cli/archive_commands.h"
#include "cli/archive_open.h"
#include "cli/option_checks.h"

namespace morvek {

namespace {

constexpr int kFound = 0;
constexpr int kFailed = 1;
constexpr int kNothingFound = 3;

struct FindOptions {
  std::string archive, registerKey, from, to, number, text, amount, rrn;
  std::vector<std::string> types;
};

const std::map<std::string, DocumentKind> kKinds = {{"receipt", DocumentKind::kReceipt},
                                                    {"return", DocumentKind::kReturn},
                                                    {"service", DocumentKind::kService},
                                                    {"cancelled", DocumentKind::kCancelled},
                                                    {"z", DocumentKind::kZReport}};

// The query the options ask for; their values were checked when they were parsed.
FindQuery QueryOf(const FindOptions& options) {
  FindQuery query;
  query.registerKey = options.registerKey;
  query.text = options.text;
  query.rrn = options.rrn;
  if (!options.from.empty()) query.from = DayStart(options.from).value_or("");
  if (!options.to.empty()) query.to = DayEnd(options.to).value_or("");
  for (const std::string& type : options.types) query.kinds.push_back(kKinds.at(type));
  if (const std::optional<NumberRange> range = ParseNumberRange(options.number)) {
    query.numberFrom = range->first;
    query.numberTo = range->last;
  }
  if (!options.amount.empty()) query.amount = Kopecks(options.amount);
  return query;
}

// Characters, not bytes, for padding: names are UTF-8.
std::size_t Width(const std::string& text) {
  std::size_t width = 0;
  for (const char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++width;
  return width;
}

std::string Shown(const FoundDocument& found) {
  return found.registerName.empty() ? found.fiscalNumber : found.registerName;
}

bool Print(const std::vector<FoundDocument>& documents) {
  std::size_t registerWidth = 0;
  for (const FoundDocument& found : documents)
    registerWidth = std::max(registerWidth, Width(Shown(found)));
  std::string text;
  for (const FoundDocument& found : documents) {
    const std::string name = Shown(found);
    char rest[128];
    std::snprintf(rest, sizeof rest, "  %-9s  %8lld  %-17s  %12s\n",
                  std::string(KindName(found.kind)).c_str(), found.number,
                  ShortTimestamp(found.timestamp).c_str(), Hryvnias(found.total).c_str());
    text += name + std::string(registerWidth - Width(name), ' ') + rest;
  }
  const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  return std::fflush(stdout) == 0 && written;
}

int RunFind(const FindOptions& options) {
  const std::unique_ptr<Archive> archive = OpenNamedArchive(options.archive);
  if (!archive) return kFailed;
  std::vector<FoundDocument> found;
  try {
    found = archive->Find(QueryOf(options));
  } catch (const std::exception& failure) {
    ReportArchiveFailure(failure);
    return kFailed;
  }
  if (!Print(found)) {
    std::cerr << "morvek-cli: cannot write the list to standard output\n";
    return kFailed;
  }
  return found.empty() ? kNothingFound : kFound;
}

}  // namespace

void AddFindCommand(CLI::App& archive, int& exitCode) {
  auto options = std::make_shared<FindOptions>();
  CLI::App* find = archive.add_subcommand("find", "List the documents of the archive that match");
  AddArchiveOption(*find, options->archive);
  find->add_option("--register", options->registerKey, "A register's name or fiscal number");
  const CLI::Validator date = ReadableBy(DayStart, "DD.MM.YY");
  find->add_option("--from", options->from, "From this day on, DD.MM.YY")->check(date);
  find->add_option("--to", options->to, "Up to this day, DD.MM.YY")->check(date);
  std::vector<std::string> kinds;
  for (const auto& [name, kind] : kKinds) kinds.push_back(name);
  find->add_option("--type", options->types, "Document kinds: receipt return service cancelled z")
      ->check(CLI::IsMember(kinds));
  find->add_option("--number", options->number, "A document number N, or numbers N-M")
      ->check(ReadableBy(ParseNumberRange, "N or N-M"));
  find->add_option("--text", options->text,
                   "Words that all stand in an item name or a line text (case does not matter)");
  find->add_option("--amount", options->amount, "The document's total in hryvnias: 12.50 or 12")
      ->check(ReadableBy(Kopecks, "a sum such as 12.50"));
  find->add_option("--rrn", options->rrn, "A card payment's transaction number (RRN)");
  find->footer(
      "Prints a line per document in register and document order: the register (its name, else "
      "its fiscal number), kind, number, date and time, total.\n"
      "Exit status: 0 when documents were found; 3 when none matched; 1 when the archive cannot "
      "be opened or read; 2 on a usage error.");
  find->callback([options, &exitCode] { exitCode = RunFind(*options); });
}

}  // namespace morvek
