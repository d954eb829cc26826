#pragma once
// One registration function per command group of m2ctl.
#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

namespace m2::cli {

void RegisterAtCommands(CLI::App& app, CliContext& ctx);      // at, identify
void RegisterStatusCommands(CLI::App& app, CliContext& ctx);  // charges, clear-charges, causes, line
void RegisterSettingsCommands(CLI::App& app, CliContext& ctx);  // read, reset-read, write, show
void RegisterUpdateCommand(CLI::App& app, CliContext& ctx);     // update
void RegisterPortsCommands(CLI::App& app, CliContext& ctx);     // ports, ports link

}  // namespace m2::cli
