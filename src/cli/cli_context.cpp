#include "cli/cli_context.h"

#include "serial/port_tables.h"

namespace m2::cli {

PortSettings CliContext::portSettings(PortSettings defaults) const {
  PortSettings ps = defaults;
  if (port) ps.portIndex = port - 1;
  if (speed) ps.speedIndex = SpeedIndexOf(speed).value_or(ps.speedIndex);
  if (!format.empty()) ps.formatIndex = FormatIndexOf(format).value_or(ps.formatIndex);
  return ps;
}

void AddGlobalOptions(CLI::App& app, CliContext& ctx) {
  auto* device = app.add_option("--device", ctx.device, "serial device to open instead of COMn");
  app.add_option("--port", ctx.port,
                 "COM port number (COMn: ./COMn if present, else /dev/ttyS<n-1>; see m2ctl ports)")
      ->check(CLI::Range(1, 4))
      ->excludes(device);
  app.add_option("--speed", ctx.speed, "baud rate")
      ->check(CLI::IsMember({2400, 4800, 9600, 19200, 38400, 57600, 115200}));
  app.add_option("--format", ctx.format, "data format")
      ->check(CLI::IsMember({"8N1", "7E1", "7O1", "7N2"}, CLI::ignore_case));
  app.add_option("--settings", ctx.settingsPath, "settings file")->capture_default_str();
  app.add_option("--silence-ms", ctx.silenceMs, "silence that ends a transaction")
      ->check(CLI::Range(50, 60000))
      ->group("");
}

TaConsole::TaConsole(const CliContext& ctx)
    : m_ctx(ctx),
      m_dialogs(stderr, 1),
      m_settings(ctx.portSettings(PortSettings{})),
      m_owner(m_dialogs, m_waiter, std::chrono::milliseconds(ctx.silenceMs)) {
  m_owner.setPortSettingsSource([this] { return m_settings; });
  if (!ctx.device.empty()) m_owner.link().setDeviceOverride(ctx.device);
}

int TaConsole::LoadSettings(CKB45mRXObj& record, int report) {
  record.SetFilePath(m_ctx.settingsPath);
  const int loaded = record.LoadFile(report, m_owner);
  if (loaded == 1) {
    const PcPortSettings& pc = record.m_data.m_pcPort;
    m_settings = m_ctx.portSettings(PortSettings{pc.m_nComPort, pc.m_nSpeed, pc.m_nDataFormat});
  }
  return loaded;
}

void TaConsole::UseSettingsFilePort() {
  CKB45mRXObj record;
  LoadSettings(record, 0);
}

}  // namespace m2::cli
