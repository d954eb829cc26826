// m2ctl: the scriptable command line for the ORVANTE M-2KLX, on the same core as M2Setup
// and M2Update. Exit status: 0 success, 1 failure (the message on stderr), 2 usage error.
#include <CLI/CLI.hpp>

#include "cli/cli_context.h"
#include "cli/commands.h"

int main(int argc, char** argv) {
  using namespace m2::cli;
  CLI::App app{"m2ctl: talk to the ORVANTE M-2KLX terminal adapter"};
  app.require_subcommand(1);
  CliContext ctx;
  AddGlobalOptions(app, ctx);
  RegisterAtCommands(app, ctx);
  RegisterStatusCommands(app, ctx);
  RegisterSettingsCommands(app, ctx);
  RegisterUpdateCommand(app, ctx);
  RegisterPortsCommands(app, ctx);
  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kExitUsage;
  }
  return ctx.exitCode;
}
