// morvek-cli archive show: one document of the archive as the retrieval window shows it, rendered
// from the XML the register sent.
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/archive_commands.h"
#include "cli/archive_open.h"
#include "cli/document_types.h"
#include "cli/output.h"
#include "session/render.h"

namespace morvek {

namespace {

constexpr int kShown = 0;
constexpr int kFailed = 1;  // not found, not rendered, or the archive failed

struct ShowOptions {
  std::string archive, registerKey, type = "receipt", encoding = "utf8";
  long long number = 0;
};

int RunShow(const ShowOptions& options) {
  const std::unique_ptr<Archive> archive = OpenNamedArchive(options.archive);
  if (!archive) return kFailed;
  const bool zReport = options.type == "z";
  std::optional<StoredDocument> stored;
  try {
    stored = archive->Show(options.registerKey, zReport, options.number);
  } catch (const std::exception& failure) {
    ReportArchiveFailure(failure);
    return kFailed;
  }
  if (!stored) {
    std::cerr << "morvek-cli: the archive holds no " << (zReport ? "Z-report" : "receipt")
              << " number " << options.number << " of register " << options.registerKey << '\n';
    return kFailed;
  }
  const RenderResult shown =
      RenderDocument(stored->xml, kDocumentTypes.at(options.type), options.number, "error.log");
  if (!PrintLines(shown.lines, options.encoding == "utf8")) {
    std::cerr << "morvek-cli: cannot write the lines to standard output\n";
    return kFailed;
  }
  return shown.failed ? kFailed : kShown;
}

}  // namespace

void AddShowCommand(CLI::App& archive, int& exitCode) {
  auto options = std::make_shared<ShowOptions>();
  CLI::App* show = archive.add_subcommand(
      "show", "Print a document of the archive as the retrieval window shows it");
  AddArchiveOption(*show, options->archive);
  show->add_option("REGISTER", options->registerKey, "The register's name or fiscal number")
      ->required();
  show->add_option("NUMBER", options->number, "The receipt's or Z-report's number")->required();
  show->add_option("--type", options->type, "receipt (default) or z")
      ->check(CLI::IsMember({"receipt", "z"}));
  show->add_option("--encoding", options->encoding, "Output encoding (default utf8)")
      ->check(CLI::IsMember({"utf8", "cp1251"}));
  show->footer(
      "Exit status: 0 when the document was shown; 1 when the archive holds no such document, "
      "cannot be read, or the document cannot be rendered (the two failure lines are printed); "
      "2 on a usage error.");
  show->callback([options, &exitCode] { exitCode = RunShow(*options); });
}

}  // namespace morvek
