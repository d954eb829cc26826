// read, reset-read, write, show: the TA's configuration between the TA and the settings
// file. read, reset-read and write end with M2Setup's exit with saving: when a sheet was
// written (or the TA reset) the result-code modes are given back, then AT&W0 makes the TA
// keep its settings.
#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "settings/config_read.h"
#include "settings/config_write.h"
#include "settings/exit_with_saving.h"
#include "settings/settings_record.h"
#include "settings/settings_view.h"

namespace m2::cli {
namespace {

enum class Sheet { Analog, Flex1, Flex2, Data, Numbers, Count };

struct SheetName {
  Sheet sheet;
  const char* name;
};
constexpr std::array<SheetName, static_cast<std::size_t>(Sheet::Count)> kSheets{{
    {Sheet::Analog, "analog"},
    {Sheet::Flex1, "flex1"},
    {Sheet::Flex2, "flex2"},
    {Sheet::Data, "data"},
    {Sheet::Numbers, "numbers"},
}};
static_assert(kSheets.back().sheet == Sheet::Numbers, "rows follow the Sheet order");

int RunRead(CliContext& ctx, bool reset) {
  TaConsole ta(ctx);
  CKB45mRXObj record;
  const int loaded = ta.LoadSettings(record, 0);
  LinkOwner& owner = ta.owner();
  if (owner.ConnectTa(kDisplayMessageBox, nullptr, nullptr, 1) != 1) return kExitFailure;
  AtSession session;
  const int ok = reset ? ResetAndRead(record, owner, session, loaded)
                       : ReadConfiguration(record, owner, session, kReadPlain);
  if (ok != 1) {
    owner.DisconnectTa(1);
    return kExitFailure;
  }
  // The user asked for the settings: they always go to the file.
  record.m_bModified = 1;
  switch (ExitWithSaving(record, owner)) {
    case kExitSaved: break;
    case kExitSaveFailed:
      // Nothing stored in the TA either: the TA and the file keep what they had.
      owner.DisconnectTa(1);
      return kExitFailure;
    case kExitStoreFailed: return kExitFailure;
  }
  std::printf("settings read from the TA and saved to %s\n", record.FilePath().c_str());
  return kExitOk;
}

int WriteSheet(Sheet sheet, LinkOwner& owner, CKB45mRXObj& record) {
  SettingsData& d = record.m_data;
  switch (sheet) {
    case Sheet::Analog:
      return WriteAnalogSheet(owner, record, d.m_tel1, d.m_tel2, d.m_common);
    case Sheet::Flex1:
      return WriteFlexSheet(owner, record, 1, d.m_tel1Flex);
    case Sheet::Flex2:
      return WriteFlexSheet(owner, record, 2, d.m_tel2Flex);
    case Sheet::Data:
      return WriteDataSheet(owner, record, d.m_dataGen, d.m_dataFlow, d.m_dataAt);
    case Sheet::Numbers:
      return WriteNumberSheet(owner, record,
                              {d.m_discTel1, d.m_discTel2, d.m_shortDialData, d.m_discData});
    case Sheet::Count:
      break;
  }
  return 0;
}

int RunWrite(CliContext& ctx, const std::vector<std::string>& names) {
  TaConsole ta(ctx);
  CKB45mRXObj record;
  if (ta.LoadSettings(record, 1) != 1) return kExitFailure;
  LinkOwner& owner = ta.owner();
  if (owner.ConnectTa(kDisplayMessageBox, nullptr, nullptr, 1) != 1) return kExitFailure;
  int status = 1;
  for (const SheetName& s : kSheets) {
    const bool chosen =
        names.empty() || std::find(names.begin(), names.end(), s.name) != names.end();
    if (!chosen) continue;
    status = WriteSheet(s.sheet, owner, record);
    if (status != 1) break;
    std::printf("%s: written\n", s.name);
  }
  // Sheets written before a failure still make the TA keep its settings.
  const ExitSavingResult left = ExitWithSaving(record, owner);
  if (left == kExitSaveFailed) owner.DisconnectTa(1);
  return status == 1 && left == kExitSaved ? kExitOk : kExitFailure;
}

int RunShow(CliContext& ctx, bool json) {
  TaConsole ta(ctx);
  CKB45mRXObj record;
  if (ta.LoadSettings(record, 1) != 1) return kExitFailure;
  const SettingsData& d = record.m_data;
  if (json)
    std::printf("%s\n", SettingsToJson(d).dump(2).c_str());
  else
    std::fputs(SettingsToText(d).c_str(), stdout);
  return kExitOk;
}

}  // namespace

void RegisterSettingsCommands(CLI::App& app, CliContext& ctx) {
  app.add_subcommand("read", "read the TA's configuration into the settings file")
      ->callback([&ctx] { ctx.exitCode = RunRead(ctx, false); });
  app.add_subcommand("reset-read",
                     "reset the TA to its factory settings (AT&F), read them into the settings "
                     "file and make the TA keep them (AT&W0)")
      ->callback([&ctx] { ctx.exitCode = RunRead(ctx, true); });

  auto names = std::make_shared<std::vector<std::string>>();
  auto* write = app.add_subcommand(
      "write", "write sheets of the settings file to the TA (default all), then AT&W0");
  std::vector<std::string> allowed;
  for (const SheetName& s : kSheets) allowed.emplace_back(s.name);
  write->add_option("SHEET", *names, "analog, flex1, flex2, data, numbers")
      ->check(CLI::IsMember(allowed));
  write->callback([&ctx, names] { ctx.exitCode = RunWrite(ctx, *names); });

  auto json = std::make_shared<bool>(false);
  auto* show = app.add_subcommand("show", "print the settings file");
  show->add_flag("--json", *json, "as JSON keyed by the record's member names");
  show->callback([&ctx, json] { ctx.exitCode = RunShow(ctx, *json); });
}

}  // namespace m2::cli
