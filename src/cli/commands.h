#pragma once
#include <CLI/CLI.hpp>

namespace morvek {

// Adds a subcommand whose run sets exitCode.
void AddRenderCommand(CLI::App& app, int& exitCode);
// status, fetch, fetch-date, numbers, print: each against a register through its server.
void AddNetworkCommands(CLI::App& app, int& exitCode);
// archive import, find, show, check.
void AddArchiveCommands(CLI::App& app, int& exitCode);
// collect: every register of a fleet brought up to date in the archive.
void AddCollectCommand(CLI::App& app, int& exitCode);
// export: the documents of a journal file or of the archive as CSV or JSON Lines.
void AddExportCommand(CLI::App& app, int& exitCode);

}  // namespace morvek
