// morvek-cli archive: the commands on the archive of control tapes.
#include "cli/archive_commands.h"

#include "cli/commands.h"

namespace morvek {

void AddArchiveOption(CLI::App& command, std::string& location) {
  command.add_option("--archive", location,
                     "The archive: an SQLite file or a postgresql:// connection string (default: "
                     "\"Archive\"/\"Path\" of morvek.ini, else morvek-archive.sqlite)");
}

void AddArchiveCommands(CLI::App& app, int& exitCode) {
  CLI::App* archive =
      app.add_subcommand("archive", "Keep control tapes: import, find, show, check");
  archive->require_subcommand(1);
  AddImportCommand(*archive, exitCode);
  AddFindCommand(*archive, exitCode);
  AddShowCommand(*archive, exitCode);
  AddCheckCommand(*archive, exitCode);
}

}  // namespace morvek
