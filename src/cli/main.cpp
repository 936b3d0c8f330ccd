// morvek-cli: the retrieval window's logic, headless, for scripts and terminals.
#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "platform/program_version.h"
#include "platform/translation.h"

int main(int argc, char** argv) {
  CLI::App app{"morvek-cli: read the electronic control tape of a fiscal register", "morvek-cli"};
  app.set_version_flag("--version", morvek::VersionLine("morvek-cli"));
  app.require_subcommand(1);
  app.footer(
      "Exit status: 0 on success; 1 when the connection, the register or the output failed; 2 on a "
      "usage error; 3 when fetch or fetch-date lost documents of the range (each named on "
      "standard error), or collect left registers incomplete. COMMAND --help tells each command's "
      "own.");
  std::string language;
  app.add_option("--lang", language,
                 "The language of the program's own messages: ru or uk (default: the key Lang of "
                 "the section [Language] of morvek.ini, else uk when LC_ALL, LC_MESSAGES or LANG "
                 "starts with uk, else ru). The documents' text images are never translated.")
      ->check(CLI::IsMember({"ru", "uk"}));
  app.fallthrough();
  // Chosen after the options are read and before any command runs.
  app.parse_complete_callback([&language] {
    morvek::SetLanguage(morvek::StartingLanguage(morvek::LanguageFromCode(language), "morvek.ini"));
  });
  int exitCode = 0;
  morvek::AddRenderCommand(app, exitCode);
  morvek::AddNetworkCommands(app, exitCode);
  morvek::AddArchiveCommands(app, exitCode);
  morvek::AddCollectCommand(app, exitCode);
  morvek::AddExportCommand(app, exitCode);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? 0 : 2;
  }
  return exitCode;
}
