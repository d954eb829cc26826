// read, reset-read, write, show: the TA's configuration between the TA and the settings
// file. A command that changed the TA ends as M2Setup's exit with saving does: the
// result-code modes are given back, then AT&W0 makes the TA keep its settings.
#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "settings/config_read.h"
#include "settings/config_write.h"
#include "settings/settings_messages.h"
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

PortSettings PortOf(const CKB45mRXObj& record) {
  const PcPortSettings& pc = record.m_data.m_pcPort;
  return PortSettings{pc.m_nComPort, pc.m_nSpeed, pc.m_nDataFormat};
}

// The record from the settings file; without one, the defaults (report 0) or message 11.
struct LoadedRecord {
  CKB45mRXObj record;
  int loaded = 0;
};
std::unique_ptr<LoadedRecord> Load(const CliContext& ctx, int report) {
  auto r = std::make_unique<LoadedRecord>();
  r->record.SetFilePath(ctx.settingsPath);
  ConsoleDialogs dialogs(stderr);
  r->loaded = r->record.LoadFile(report, dialogs);
  return r;
}

bool Save(CKB45mRXObj& record) {
  if (record.SaveFile()) return true;
  std::fprintf(stderr, "%.*s\n", static_cast<int>(kSaveFailedText.size()), kSaveFailedText.data());
  return false;
}

// Leaves the TA: after a change it keeps its settings (AT&W0), in any case it gets its
// result-code modes back.
void Leave(LinkOwner& owner, bool taChanged) {
  if (taChanged) {
    owner.RestoreResultModes();
    StoreInTa(owner);
    owner.DisconnectTa(0);
  } else {
    owner.DisconnectTa(1);
  }
}

int RunRead(CliContext& ctx, bool reset) {
  auto loaded = Load(ctx, 0);
  CKB45mRXObj& record = loaded->record;
  TaConsole ta(ctx, PortOf(record));
  LinkOwner& owner = ta.owner();
  if (owner.ConnectTa(kDisplayMessageBox, nullptr, nullptr, 1) != 1) return kExitFailure;
  AtSession session;
  const int ok = reset ? ResetAndRead(record, owner, session, loaded->loaded)
                       : ReadConfiguration(record, owner, session, kReadPlain);
  if (ok != 1) {
    owner.DisconnectTa(1);
    return kExitFailure;
  }
  // The user asked for the settings: they always go to the file.
  const bool saved = Save(record);
  Leave(owner, record.m_bTaChanged == 1);
  if (!saved) return kExitFailure;
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
  auto loaded = Load(ctx, 1);
  if (!loaded->loaded) return kExitFailure;
  CKB45mRXObj& record = loaded->record;
  TaConsole ta(ctx, PortOf(record));
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
  Leave(owner, status == 1);
  return status == 1 ? kExitOk : kExitFailure;
}

int RunShow(CliContext& ctx, bool json) {
  auto loaded = Load(ctx, 1);
  if (!loaded->loaded) return kExitFailure;
  const SettingsData& d = loaded->record.m_data;
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
