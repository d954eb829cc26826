// ports: what COM1 to COM4 open now and which serial devices this machine has; ports link
// makes a COM number open one of them (the COM<n> link in the working folder).
#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/commands.h"
#include "serial/com_naming.h"
#include "serial/port_tables.h"
#include "serial/serial_devices.h"

namespace m2::cli {
namespace {

const char* SourceName(ComSource source) {
  switch (source) {
    case ComSource::OutOfRange: return "none";
    case ComSource::Link: return "link";
    case ComSource::LocalFile: return "file";
    case ComSource::TtyS: return "ttyS";
  }
  return "none";
}

std::vector<SerialDevice> Detected() { return SerialDevicesFrom(UdevTtyDatabase().ttys()); }

int RunPorts(bool json) {
  const std::vector<SerialDevice> devices = Detected();
  if (json) {
    nlohmann::ordered_json out;
    out["ports"] = nlohmann::ordered_json::array();
    for (int n = 1; n <= kPortCount; ++n) {
      const ComTarget t = ResolveCom(n);
      out["ports"].push_back({{"port", "COM" + std::to_string(n)},
                              {"opens", t.openPath},
                              {"device", t.device},
                              {"source", SourceName(t.source)},
                              {"exists", t.exists}});
    }
    out["devices"] = nlohmann::ordered_json::array();
    for (const SerialDevice& d : devices)
      out["devices"].push_back({{"path", d.path},
                                {"node", d.node},
                                {"kind", d.kind == SerialKind::Usb ? "usb" : "built-in"},
                                {"maker", d.maker},
                                {"product", d.product},
                                {"serial", d.serial}});
    std::printf("%s\n", out.dump(2).c_str());
    return kExitOk;
  }
  for (int n = 1; n <= kPortCount; ++n) {
    const ComTarget t = ResolveCom(n);
    const char* state = !t.exists                          ? "no such device"
                        : t.source == ComSource::Link      ? "link in this folder"
                        : t.source == ComSource::LocalFile ? "file in this folder"
                                                           : "built-in port";
    std::printf("COM%d  %-40s %s\n", n, t.device.c_str(), state);
  }
  std::printf("\nDetected serial devices:\n");
  if (devices.empty()) std::printf("  none\n");
  for (const SerialDevice& d : devices) {
    std::string about = DeviceTitle(d);
    if (!d.serial.empty()) about += ", serial " + d.serial;
    if (d.path != d.node) about += " (" + d.node + ")";
    std::printf("  %s\n      %s\n", d.path.c_str(), about.c_str());
  }
  return kExitOk;
}

// "COM1", "com1" or "1".
int PortNumber(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (text.rfind("COM", 0) == 0) text.erase(0, 3);
  if (text.size() != 1 || text[0] < '1' || text[0] > '0' + kPortCount) return 0;
  return text[0] - '0';
}

int RunLink(const std::string& port, const std::string& device) {
  const int n = PortNumber(port);
  if (n == 0) {
    std::fprintf(stderr, "%s: not one of COM1 to COM4\n", port.c_str());
    return kExitUsage;
  }
  const std::vector<SerialDevice> devices = Detected();
  const SerialDevice* found = FindSerialDevice(devices, device);
  const std::string target = found ? found->path : device;
  struct stat st{};
  if (::stat(target.c_str(), &st) != 0) {
    std::fprintf(stderr, "%s: %s (see m2ctl ports for the detected devices)\n", target.c_str(),
                 std::strerror(errno));
    return kExitFailure;
  }
  const LinkOutcome outcome = MakeComLink(n, target);
  switch (outcome.result) {
    case LinkResult::Made:
    case LinkResult::Replaced:
      std::printf("%s%s\n", ComTargetText(n, ResolveCom(n)).c_str(),
                  outcome.result == LinkResult::Replaced ? " (replaced the old link)" : "");
      return kExitOk;
    case LinkResult::NotALink:
      std::fprintf(stderr, "COM%d in this folder is not a link; left as it is\n", n);
      return kExitFailure;
    case LinkResult::Failed:
      std::fprintf(stderr, "COM%d: %s\n", n, std::strerror(outcome.error));
      return kExitFailure;
  }
  return kExitFailure;
}

}  // namespace

void RegisterPortsCommands(CLI::App& app, CliContext& ctx) {
  auto json = std::make_shared<bool>(false);
  auto* ports = app.add_subcommand(
      "ports", "show what COM1 to COM4 open and the serial devices found; 'ports link' maps one");
  ports->add_flag("--json", *json, "as JSON");
  ports->callback([&ctx, json, ports] {
    if (ports->get_subcommands().empty()) ctx.exitCode = RunPorts(*json);
  });

  auto args = std::make_shared<std::pair<std::string, std::string>>();
  auto* link = ports->add_subcommand(
      "link", "make COMn open DEVICE: a path, or a detected device's by-id or node name");
  link->add_option("COMn", args->first, "COM1 to COM4")->required();
  link->add_option("DEVICE", args->second, "device path or name")->required();
  link->callback([&ctx, args] { ctx.exitCode = RunLink(args->first, args->second); });
}

}  // namespace m2::cli
