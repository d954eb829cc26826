#include "xmodem_options.h"

namespace m2::sim {

void AddXmodemOptions(CLI::App& app, bool& enabled, XmodemOptions& o) {
  using Ms = XmodemOptions::Ms;
  const char* group = "Download mode (--xmodem)";
  app.add_flag("--xmodem", enabled, "act as the TA in its download mode: an XMODEM receiver")->group(group);
  app.add_option("--out", o.outPath, "store the received image in FILE")->group(group);
  app.add_flag("--checksum", o.checksum, "ask for 8-bit checksums (start with NAK, not C)")->group(group);
  app.add_option_function<long>("--start-interval-ms", [&o](long v) { o.startInterval = Ms(v); },
                                "time between start characters (default 3000)")
      ->check(CLI::Range(1L, 600000L))
      ->group(group);
  app.add_flag("--no-start", o.noStart, "never send the start character")->group(group);
  app.add_option("--nak-block", o.nakBlock, "ask for block N (1 = first) a second time, once")
      ->check(CLI::PositiveNumber)
      ->group(group);
  app.add_option("--cancel-at", o.cancelAt, "cancel with CAN CAN when block N arrives")
      ->check(CLI::PositiveNumber)
      ->group(group);
  app.add_option("--stall-at", o.stallAt, "answer nothing from block N on")
      ->check(CLI::PositiveNumber)
      ->group(group);
  app.add_flag("--nak-eot", o.nakEot, "answer the first EOT with NAK")->group(group);
  app.add_option_function<long>("--ack-delay-ms", [&o](long v) { o.ackDelay = Ms(v); },
                                "delay every answer to a block")
      ->check(CLI::NonNegativeNumber)
      ->group(group);
  app.add_option("--verdict", o.verdict, "text sent (with CR) after EOT; default \"FROM update\"")
      ->group(group);
  app.add_flag("--no-verdict", o.noVerdict, "send no verdict after EOT")->group(group);
  app.add_option_function<long>("--verdict-delay-ms", [&o](long v) { o.verdictDelay = Ms(v); },
                                "delay between the ACK of EOT and the verdict (default 500)")
      ->check(CLI::NonNegativeNumber)
      ->group(group);
  app.add_flag("--split-verdict", o.splitVerdict, "send the verdict in two bursts")->group(group);
  app.add_option_function<long>("--verdict-gap-ms", [&o](long v) { o.splitGap = Ms(v); },
                                "gap between the two verdict bursts (default 200)")
      ->check(CLI::NonNegativeNumber)
      ->group(group);
}

}  // namespace m2::sim
