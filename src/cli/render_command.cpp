// morvek-cli render: a journal file to the text of its receipts and Z-reports, as the retrieval
// window shows it after a request by number.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/document_types.h"
#include "cli/output.h"
#include "cli/terminal_ui.h"
#include "codec/cp1251.h"
#include "codec/errors.h"
#include "session/render.h"

namespace morvek {

namespace {

struct RenderOptions {
  std::string type = "both";
  std::string out;
  std::string encoding = "utf8";
  std::string journal;
  int first = 1;
  int last = INT_MAX;
};

int RunRender(const RenderOptions& options) {
  TerminalUi ui;
  const bool utf8 = options.encoding == "utf8";
  int printError = 0;  // errno of the first write that failed
  const auto print = [&](const auto& lines, bool flush) {
    const bool written = flush ? PrintLines(lines, utf8) : WriteLines(lines, utf8);
    if (!written && printError == 0) printError = errno ? errno : EIO;
  };
  // Without a file to save, a document's lines are printed as soon as the walk has made them;
  // the file needs them all.
  LinesTaken printNow;
  if (options.out.empty()) {
    printNow = [&](LineList& lines) {
      print(lines, false);
      lines.clear();
    };
  }
  RenderResult shown;
  try {
    shown = RenderJournalFile(options.journal, kDocumentTypes.at(options.type),
                              std::to_string(options.first), std::to_string(options.last),
                              "error.log", printNow);
  } catch (const FileError& e) {
    std::cerr << "morvek-cli: " << e.what() << '\n';
    return 1;
  }
  print(shown.lines, true);
  if (printError != 0)
    std::cerr << "morvek-cli: cannot write the rendered lines: " << std::strerror(printError)
              << '\n';
  if (!options.out.empty() && !SaveOut(ui, options.out, shown.lines)) return 1;
  return !shown.failed && printError == 0 ? 0 : 1;
}

}  // namespace

void AddRenderCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<RenderOptions>();
  CLI::App* render = app.add_subcommand("render", "Render the documents of a journal XML file");
  render->add_option("--type", options->type, "Document type")
      ->check(CLI::IsMember({"z", "receipt", "both", "cash"}));
  render->add_option("--out", options->out,
                     "Also save the lines to FILE as the save button does: Windows-1251, CR LF "
                     "after every line; a name without extension gets \".txt\"");
  render->add_option("--encoding", options->encoding, "Output encoding")
      ->check(CLI::IsMember({"utf8", "cp1251"}));
  render->add_option("JOURNAL", options->journal, "Journal XML file")
      ->required()
      ->check(CLI::ExistingFile);
  render->add_option("FIRST", options->first, "First document number (default 1)");
  render->add_option("LAST", options->last, "Last document number (default 2147483647)");
  render->callback([options, &exitCode] { exitCode = RunRender(*options); });
}

}  // namespace morvek
