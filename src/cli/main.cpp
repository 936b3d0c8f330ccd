// morvek-cli: the retrieval window's logic, headless, for scripts and terminals.
#include <CLI/CLI.hpp>

#include "cli/commands.h"

int main(int argc, char** argv) {
  CLI::App app{"morvek-cli: read the electronic control tape of a fiscal register", "morvek-cli"};
  app.require_subcommand(1);
  int exitCode = 0;
  morvek::AddRenderCommand(app, exitCode);
  morvek::AddNetworkCommands(app, exitCode);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? 0 : 2;
  }
  return exitCode;
}
