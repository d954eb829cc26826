#pragma once
// m2sim's command-line options for the download mode (--xmodem and its faults).
#include <CLI/CLI.hpp>

#include "xmodem_receiver.h"

namespace m2::sim {

void AddXmodemOptions(CLI::App& app, bool& enabled, XmodemOptions& options);

}  // namespace m2::sim
