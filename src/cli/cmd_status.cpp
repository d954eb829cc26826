// charges, clear-charges, causes, line: the status queries, each in its own connection
// that gives the TA its result-code modes back on leaving.
#include <array>
#include <cstdio>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "serial/status_queries.h"

namespace m2::cli {
namespace {

constexpr std::array<const char*, 3> kSlotNames{"TEL1", "TEL2", "DTE"};

// Connects with identification, runs the queries, disconnects restoring the modes.
template <typename Body>
int WithTa(CliContext& ctx, Body body) {
  TaConsole ta(ctx);
  ta.UseSettingsFilePort();
  LinkOwner& owner = ta.owner();
  if (owner.ConnectTa(kDisplayMessageBox, nullptr, nullptr, 1) != 1) return kExitFailure;
  int status = body(owner) ? kExitOk : kExitFailure;
  owner.DisconnectTa(1);
  return status;
}

void PrintAmounts(const char* label, const ChargeCounts& counts) {
  for (std::size_t s = 0; s < 3; ++s)
    if (counts.yen[s] >= 0)
      std::printf("%-4s %s: %lld円\n", kSlotNames[s], label,
                  static_cast<long long>(counts.yen[s]));
}

int ParseItem(const std::string& port) {
  if (port == "tel1") return 1;
  if (port == "tel2") return 2;
  if (port == "dte") return 0;
  return -1;  // all ports
}

}  // namespace

void RegisterStatusCommands(CLI::App& app, CliContext& ctx) {
  app.add_subcommand("charges", "last call and accumulated charges of every port")
      ->callback([&ctx] {
        ctx.exitCode = WithTa(ctx, [](LinkOwner& owner) {
          ChargeCounts last, total;
          if (!QueryLastCharges(owner, 1, 0, last)) return false;
          PrintAmounts("last", last);
          if (!QueryTotalCharges(owner, 1, 0, total)) return false;
          PrintAmounts("total", total);
          return true;
        });
      });

  auto port = std::make_shared<std::string>();
  auto* clear = app.add_subcommand("clear-charges", "clear the accumulated charge of one port or all");
  clear->add_option("PORT", *port, "tel1, tel2 or dte (default: all ports)")
      ->check(CLI::IsMember({"tel1", "tel2", "dte"}, CLI::ignore_case));
  clear->callback([&ctx, port] {
    const int item = ParseItem(CLI::detail::to_lower(*port));
    const int all = item < 0 ? 1 : 0;
    ctx.exitCode = WithTa(ctx, [&](LinkOwner& owner) {
      ChargeCounts total;
      if (!ClearTotalCharges(owner, all, item < 0 ? 0 : item)) return false;
      if (!QueryTotalCharges(owner, all, item < 0 ? 0 : item, total)) return false;
      PrintAmounts("total", total);
      return true;
    });
  });

  app.add_subcommand("causes", "cause of the last disconnection of every port")->callback([&ctx] {
    ctx.exitCode = WithTa(ctx, [](LinkOwner& owner) {
      AtSession session;
      CauseTexts causes;
      if (!QueryCallStatus(owner, session, 1, 0, causes)) return false;
      for (std::size_t s = 0; s < 3; ++s)
        std::printf("%-4s 切断理由: %.*s\n", kSlotNames[s], static_cast<int>(causes.text[s].size()),
                    causes.text[s].data());
      return true;
    });
  });

  app.add_subcommand("line", "ISDN line state and the data port's signal lines")->callback([&ctx] {
    ctx.exitCode = WithTa(ctx, [](LinkOwner& owner) {
      LineState line;
      if (!QueryLineStatus(owner, line)) return false;
      std::printf("ﾚｲﾔ1同期: %s\nﾚｲﾔ2ﾘﾝｸ: %s\n", line.layer1Sync ? "UP" : "DOWN",
                  line.layer2Link ? "UP" : "DOWN");
      SignalState sig;
      if (!QuerySignalStatus(owner, sig)) return false;
      const std::array<std::pair<const char*, bool>, 6> rows{
          {{"ER", sig.er}, {"RS", sig.rs}, {"DR", sig.dr}, {"CS", sig.cs}, {"CD", sig.cd}, {"CI", sig.ci}}};
      for (const auto& [name, on] : rows) std::printf("%s: %s\n", name, on ? "ON" : "OFF");
      return true;
    });
  });
}

}  // namespace m2::cli
