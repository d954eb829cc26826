#pragma once
// The commands of each write transaction, in the order they are sent, one per setting,
// built with the AT command builders. Pure, so the orders and encodings can be checked
// without a TA.
#include <array>
#include <string>
#include <vector>

#include "settings/settings_data.h"

namespace m2 {

using CommandList = std::vector<std::string>;

// TEL1 (11 commands), TEL2 (10, no polarity item), port common (2).
CommandList AnalogSheetCommands(const AnalogPortSettings& tel1, const AnalogPortSettings& tel2,
                                const PortCommonSettings& common);
// Port 1 (TEL1) or 2 (TEL2).
CommandList FlexSheetCommands(int port, const FlexphoneSettings& flex);

// The data sheet runs in two parts: the result-code modes are taken over between them.
struct DataSheetCommandParts {
  CommandList beforeModes;  // DTE general, flow/signal control, E
  CommandList afterModes;   // X
};
DataSheetCommandParts DataSheetCommands(const DataPortSettings& gen, const DataFlowSettings& flow,
                                        const DataAtSettings& at);

// $X (TEL1), $Y (TEL2), &Z (DTE short dial), $W (DTE), entries 0 to 9 each.
struct NumberLists {
  const NumberList& discTel1;
  const NumberList& discTel2;
  const NumberList& shortDialData;
  const NumberList& discData;
};
CommandList NumberSheetCommands(const NumberLists& lists);

// A command that did not fit the 127-character command field lost its final CR.
bool CommandFits(const std::string& command);
// A setting outside its range (only a damaged settings file holds one) gives an empty
// command. Otherwise every byte before the final CR must be printable (0x20 and above, not
// DEL): a CR inside a setting would make the TA run what follows it as a command.
bool CommandPrintable(const std::string& command);

}  // namespace m2
