// morvek-cli export: the documents of a journal file or of the archive as files for a spreadsheet
// or an accounting system: CSV (documents, receipt lines, Z-report totals) or JSON Lines; or their
// text images on PDF pages for paper.
#include <climits>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/archive_text.h"
#include "cli/archive_commands.h"
#include "cli/archive_open.h"
#include "cli/commands.h"
#include "cli/option_checks.h"
#include "codec/errors.h"
#include "export/document_export.h"
#include "platform/text_file.h"

namespace morvek {

namespace {

constexpr int kWritten = 0;
constexpr int kFailed = 1;  // the input cannot be read, a document not rendered, a file not written

struct ExportOptions {
  std::string journal, archive, registerKey, from, to;
  std::string type = "both", format, out, encoding = "utf8", paper;
  long long first = 1, last = LLONG_MAX;
};

bool Wanted(const ExportOptions& options, const DocumentRecord& document) {
  const bool zReport = document.kind == DocumentKind::kZReport;
  return options.type == "both" || (options.type == "z") == zReport;
}

std::unique_ptr<DocumentExport> ExportOf(const ExportOptions& options) {
  if (options.format == "json") return JsonExport(options.out);
  if (options.format == "pdf")
    return PdfExport(options.out, options.paper == "roll80" ? PdfPaper::kRoll80 : PdfPaper::kA4);
  return CsvExport(options.out,
                   options.encoding == "cp1251" ? CsvEncoding::kCp1251 : CsvEncoding::kUtf8);
}

// The documents of the journal file of the range asked, added; false when it cannot be read
// (reported).
bool AddFromJournal(const ExportOptions& options, DocumentExport& out, long long& added) {
  const auto unreadable = [&options](const std::exception& failure) {
    std::cerr << "morvek-cli: cannot read the journal " << options.journal << ": " << failure.what()
              << '\n';
    return false;
  };
  std::string journal;
  try {
    journal = ReadWholeFile(options.journal);
  } catch (const FileError& failure) {
    return unreadable(failure);
  }
  try {
    // A record at a time: the export writes what it makes of each as it goes, and never holds
    // every record at once. A journal refused halfway leaves the export's files as they were.
    ReadDocuments(journal, [&](DocumentRecord&& document) {
      if (!Wanted(options, document) || document.number < options.first ||
          document.number > options.last)
        return;
      out.Add(document, "");
      ++added;
    });
  } catch (const ArchiveError& failure) {
    return unreadable(failure);
  }
  return true;
}

// The documents of the register in the days asked, added; false when the archive cannot be read
// or holds no such register (reported).
bool AddFromArchive(const ExportOptions& options, DocumentExport& out, long long& added) {
  const std::unique_ptr<Archive> archive = OpenNamedArchive(options.archive);
  if (!archive) return false;
  try {
    const std::optional<RegisterRecord> found = archive->FindRegister(options.registerKey);
    if (!found) {
      std::cerr << "morvek-cli: the archive holds no register " << options.registerKey << '\n';
      return false;
    }
    const std::string from = options.from.empty() ? "" : DayStart(options.from).value_or("");
    const std::string to = options.to.empty() ? "" : DayEnd(options.to).value_or("");
    archive->ForEachDocument(found->fiscalNumber, from, to, [&](const StoredDocument& stored) {
      const DocumentRecord document = ReadDocument(stored.xml);
      if (!Wanted(options, document)) return;
      out.Add(document, found->name);
      ++added;
    });
  } catch (const ArchiveError& failure) {
    ReportArchiveFailure(failure);
    return false;
  }
  return true;
}

int RunExport(const ExportOptions& options) {
  const std::unique_ptr<DocumentExport> out = ExportOf(options);
  long long added = 0;
  std::vector<std::string> files;
  try {
    const bool read = options.journal.empty() ? AddFromArchive(options, *out, added)
                                              : AddFromJournal(options, *out, added);
    if (!read) return kFailed;
    files = out->Finish();
  } catch (const std::exception& failure) {
    std::cerr << "morvek-cli: cannot export: " << failure.what() << '\n';
    return kFailed;
  }
  std::string names;
  for (const std::string& file : files) names += (names.empty() ? "" : ", ") + file;
  std::cout << names << ": " << added << " documents\n";
  return kWritten;
}

}  // namespace

void AddExportCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<ExportOptions>();
  CLI::App* command = app.add_subcommand(
      "export",
      "Export the documents of a journal file or of the archive as CSV, JSON Lines or PDF");
  CLI::Option* journal = command->add_option("JOURNAL", options->journal, "Journal XML file")
                             ->check(CLI::ExistingFile);
  command->add_option("FIRST", options->first, "First document number (default 1)")->needs(journal);
  command->add_option("LAST", options->last, "Last document number (default: the last)")
      ->needs(journal);
  AddArchiveOption(*command, options->archive);
  CLI::Option* registerKey =
      command
          ->add_option("--register", options->registerKey,
                       "Export from the archive: the register's name or fiscal number")
          ->excludes(journal);
  const CLI::Validator date = ReadableBy(DayStart, "DD.MM.YY");
  command->add_option("--from", options->from, "From this day on, DD.MM.YY")
      ->check(date)
      ->needs(registerKey);
  command->add_option("--to", options->to, "Up to this day, DD.MM.YY")
      ->check(date)
      ->needs(registerKey);
  command->add_option("--type", options->type, "receipt, z or both (default)")
      ->check(CLI::IsMember({"receipt", "z", "both"}));
  command->add_option("--format", options->format, "csv, json or pdf")
      ->required()
      ->check(CLI::IsMember({"csv", "json", "pdf"}));
  command
      ->add_option("--out", options->out,
                   "csv: the prefix of the three files PREFIX-documents.csv, PREFIX-lines.csv "
                   "and PREFIX-zreports.csv; json, pdf: the file")
      ->required();
  command
      ->add_option("--encoding", options->encoding,
                   "CSV encoding: utf8 (default, with a byte-order mark) or cp1251")
      ->check(CLI::IsMember({"utf8", "cp1251"}));
  command
      ->add_option("--paper", options->paper,
                   "PDF paper: a4 (default; documents in columns) or roll80 (80 mm, a page per "
                   "document)")
      ->check(CLI::IsMember({"a4", "roll80"}));
  command->footer(
      "Give either a JOURNAL file (FIRST and LAST are receipt numbers for receipts, Z numbers for "
      "Z-reports) or --register for the archive. Every file is written whole or not at all.\n"
      "Exit status: 0 when the files were written; 1 when the input cannot be read, a document "
      "cannot be rendered or a file cannot be written; 2 on a usage error.");
  command->callback([options, &exitCode] {
    if (options->journal.empty() && options->registerKey.empty())
      throw CLI::RequiredError("export: a JOURNAL file or --register");
    if (options->format != "csv" && options->encoding != "utf8")
      throw CLI::ValidationError("--encoding", "only CSV is written in another encoding");
    if (options->format != "pdf" && !options->paper.empty())
      throw CLI::ValidationError("--paper", "only PDF is written on paper");
    exitCode = RunExport(*options);
  });
}

}  // namespace morvek
