#pragma once
// morvek-cli archive import, find, show and check, and morvek-cli collect: each opens the archive
// that --archive names (else "Archive"/"Path" of morvek.ini, else morvek-archive.sqlite).
#include <CLI/CLI.hpp>
#include <string>

namespace morvek {

// The --archive option.
void AddArchiveOption(CLI::App& command, std::string& location);

void AddImportCommand(CLI::App& archive, int& exitCode);
void AddFindCommand(CLI::App& archive, int& exitCode);
void AddShowCommand(CLI::App& archive, int& exitCode);
void AddCheckCommand(CLI::App& archive, int& exitCode);

}  // namespace morvek
