// at: raw transactions; identify: connection start with identification.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "serial/at_session.h"

namespace m2::cli {
namespace {

int RunAt(CliContext& ctx, const std::vector<std::string>& commands, bool lenient) {
  TaConsole ta(ctx);
  ta.UseSettingsFilePort();
  LinkOwner& owner = ta.owner();
  if (owner.ConnectTa(kDisplayMessageBox, nullptr, nullptr, 0) != 1) return kExitFailure;
  int status = kExitOk;
  for (const std::string& command : commands) {
    AtSession session;
    AtResult r = owner.AtTransact(command + "\r", lenient ? 1 : 0, nullptr, &session);
    std::string_view reply = session.responseText();
    std::fwrite(reply.data(), 1, reply.size(), stdout);
    std::printf("\n");
    std::fflush(stdout);
    std::fprintf(stderr, "result: %d\n", static_cast<int>(r));
    if (r == kAtFailed) {
      status = kExitFailure;
      break;
    }
  }
  owner.DisconnectTa(0);
  return status;
}

int RunIdentify(CliContext& ctx) {
  TaConsole ta(ctx);
  ta.UseSettingsFilePort();
  LinkOwner& owner = ta.owner();
  if (owner.ConnectTa(kDisplayMessageBox, nullptr, nullptr, 1) != 1) return kExitFailure;
  std::printf("maker: %s\nversion: %s\n", owner.taMakerText.c_str(), owner.taVersionText.c_str());
  owner.DisconnectTa(1);
  return kExitOk;
}

}  // namespace

void RegisterAtCommands(CLI::App& app, CliContext& ctx) {
  auto* at = app.add_subcommand("at", "send each command (CR appended) as one transaction; print the raw reply");
  struct AtArgs {
    std::vector<std::string> commands;
    bool lenient = false;
  };
  auto args = std::make_shared<AtArgs>();
  // A longer command would not fit the command field with its CR: the TA would keep the
  // cut-off part in its line buffer and run it with the next command.
  const CLI::Validator fits(
      [](std::string& command) {
        return command.size() + 1 < AtSession::kCommandSize
                   ? std::string{}
                   : "longer than " + std::to_string(AtSession::kCommandSize - 2) + " bytes";
      },
      "");
  at->add_option("CMD", args->commands, "AT command, e.g. ATI0 (at most 126 bytes)")
      ->required()
      ->check(fits);
  at->add_flag("--lenient", args->lenient, "accept numeric result codes, and silence after text (24)");
  at->callback([&ctx, args] { ctx.exitCode = RunAt(ctx, args->commands, args->lenient); });

  auto* identify = app.add_subcommand("identify", "identify the TA and print its maker and version lines");
  identify->callback([&ctx] { ctx.exitCode = RunIdentify(ctx); });
}

}  // namespace m2::cli
