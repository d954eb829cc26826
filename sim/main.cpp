// m2sim: a stand-in for the TA on a pseudo-terminal. It links PATH to the pty's slave side
// and serves the TA's side until it is terminated, then removes the link.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <stdexcept>

#include "at_protocol.h"
#include "pty_endpoint.h"
#include "ta_model.h"
#include "ta_settings.h"
#include "ta_status.h"
#include "xmodem_options.h"

namespace {

// "P=V" with P a port item 0-2.
bool ParsePortValue(const std::string& text, int& port, std::string& value) {
  if (text.size() < 3 || text[1] != '=' || text[0] < '0' || text[0] > '2') return false;
  port = text[0] - '0';
  value = text.substr(2);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace m2::sim;
  CLI::App app{"m2sim: TA simulator on a pseudo-terminal"};
  std::string link, logPath, statePath;
  bool startQuiet = false, startNumeric = false, noEcho = false;
  TaModel ta;
  TaStatus status;
  AtFaults faults;
  long dripMs = 0, splitMs = 0;
  std::vector<std::string> lastCharges, totalCharges, causes;

  app.add_option("--link", link, "symlink to create for the pty's slave side (e.g. COM1)")->required();
  app.add_option("--log", logPath,
                 "append every received command line to FILE (with --xmodem: \"block N\" for each "
                 "stored block, \"EOT\" and \"CAN\" as received)");
  app.add_option("--state", statePath, "settings state (JSON) loaded at start, stored by AT&W0");
  app.add_flag("--quiet", startQuiet, "start with result codes off (ATQ1)");
  app.add_flag("--numeric", startNumeric, "start with numeric result codes (ATV0)");
  app.add_flag("--no-echo", noEcho, "start with echo off (ATE0)");
  app.add_option("--model", ta.identity.model, "ATI0 text");
  app.add_option("--maker", ta.identity.maker, "ATI4 text");
  app.add_option("--version", ta.identity.version, "ATI3 text");
  app.add_option("--long-reply", ta.longReplySize, "bytes of text ATI9 answers with");
  app.add_option("--drip-ms", dripMs, "write reply bytes one by one with this gap");
  app.add_option("--split-gap-ms", splitMs, "write each reply as two bursts with this gap");
  app.add_option("--silent-after", faults.silentAfter, "stop answering after K commands");
  app.add_option("--last-charge", lastCharges, "last call charge P=YEN (P: 0 DTE, 1 TEL1, 2 TEL2)");
  app.add_option("--total-charge", totalCharges, "accumulated charge P=YEN");
  app.add_option("--cause", causes, "last disconnection cause P=HH (two hex digits)");
  app.add_option("--s112", status.s112, "ISDN line state register value");
  app.add_option("--s115", status.s115, "signal line state register value");
  app.add_option("--omit-item", status.omitItem, "leave this port item out of the port listings");
  bool xmodem = false;
  XmodemOptions xmodemOptions;
  AddXmodemOptions(app, xmodem, xmodemOptions);
  CLI11_PARSE(app, argc, argv);

  TaSettings settings = TaSettings::Factory();
  try {
    if (!statePath.empty()) LoadStateFile(statePath, ta, settings);
  } catch (const std::exception& e) {
    return std::fprintf(stderr, "m2sim: %s\n", e.what()), 2;
  }
  // The start flags override a stored state.
  if (startQuiet) ta.quiet = true;
  if (startNumeric) ta.verbose = false;
  if (noEcho) ta.echo = false;
  faults.dripDelay = std::chrono::milliseconds(dripMs);
  faults.splitGap = std::chrono::milliseconds(splitMs);
  int port = 0;
  std::string value;
  for (const auto& s : lastCharges) {
    if (!ParsePortValue(s, port, value)) return std::fprintf(stderr, "m2sim: bad --last-charge %s\n", s.c_str()), 2;
    status.lastCharge[static_cast<std::size_t>(port)] = std::stol(value);
  }
  for (const auto& s : totalCharges) {
    if (!ParsePortValue(s, port, value)) return std::fprintf(stderr, "m2sim: bad --total-charge %s\n", s.c_str()), 2;
    status.totalCharge[static_cast<std::size_t>(port)] = std::stol(value);
  }
  for (const auto& s : causes) {
    if (!ParsePortValue(s, port, value)) return std::fprintf(stderr, "m2sim: bad --cause %s\n", s.c_str()), 2;
    status.cause[static_cast<std::size_t>(port)] = value;
  }
  RegisterStatusCommands(ta, status);
  RegisterSettingsCommands(ta, settings, statePath);

  std::unique_ptr<std::FILE, int (*)(std::FILE*)> log(nullptr, &std::fclose);
  if (!logPath.empty()) {
    log.reset(std::fopen(logPath.c_str(), "a"));
    if (!log) return std::fprintf(stderr, "m2sim: cannot open %s\n", logPath.c_str()), 1;
  }
  try {
    PtyEndpoint line(link);
    std::printf("m2sim: %s -> %s\n", link.c_str(), line.slaveName().c_str());
    std::fflush(stdout);
    if (xmodem) {
      XmodemProtocol download(xmodemOptions, log.get());
      return RunSimulator(line, download);
    }
    AtProtocol protocol(ta, faults, log.get());
    return RunSimulator(line, protocol);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "m2sim: %s\n", e.what());
    return 1;
  }
}
