// morvek-cli: the retrieval window's logic, headless, for scripts and terminals.
#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "platform/program_version.h"

int main(int argc, char** argv) {
  CLI::App app{"morvek-cli: read the electronic control tape of a fiscal register", "morvek-cli"};
  app.set_version_flag("--version", morvek::VersionLine("morvek-cli"));
  app.require_subcommand(1);
  app.footer(
      "Exit status: 0 on success; 1 when the connection, the register or the output failed; 2 on a "
      "usage error; 3 when fetch or fetch-date lost documents of the range (each named on "
      "standard error), or collect left registers incomplete. COMMAND --help tells each command's "
      "own.");
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
