#pragma once
#include <CLI/CLI.hpp>

namespace morvek {

// Adds a subcommand whose run sets exitCode.
void AddRenderCommand(CLI::App& app, int& exitCode);

}  // namespace morvek
