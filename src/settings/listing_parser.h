#pragma once
// Takes the TA's configuration listings apart into the settings record. Pure: each parser
// stores values as it goes and returns false at the first key that is missing or whose
// value fails its check; the values stored before stay, the rest keep their old values.
// The caller reports message 9.
//
// A key is found by a plain search from the start of the reply, so its first occurrence
// counts wherever it stands, the TA's echo of the command included.
#include <optional>
#include <string_view>

#include "settings/settings_data.h"

namespace m2 {

// What the link owner keeps about the TA's own result-code modes.
struct ResultModes {
  int resultCodesWereOn = 1;
  int verboseWasOn = 1;
};

// Mode 0: the plain read; result-code use and form come from `modes`.
// Mode 1: after a factory reset; they are read from the listing and go into `modes`.
inline constexpr int kReadPlain = 0;
inline constexpr int kReadAfterReset = 1;

// Reply of AT$Z: own addresses of ports 0 (DTE), 1 and 2.
[[nodiscard]] bool ParseOwnAddresses(std::string_view reply, SettingsData& data);
// Reply of AT@A: the transfer addresses of TEL1 and TEL2.
[[nodiscard]] bool ParseTransferAddresses(std::string_view reply, SettingsData& data);
// Reply of AT&V0: TEL1, TEL1 flexphone, TEL2, TEL2 flexphone, port common, DTE general,
// DTE flow, DTE AT command, in that order.
[[nodiscard]] bool ParseSettingsListing(std::string_view reply, SettingsData& data, int mode,
                                        ResultModes& modes);
// Reply of AT$X, AT$Y, AT&Z or AT$W: all ten entries. Mode 1 empties the PC-only names.
[[nodiscard]] bool ParseNumberList(std::string_view reply, NumberList& list, int mode);

// Leading-digits decimal; nothing when the value does not fit in an int.
std::optional<int> DecimalValue(std::string_view digits);
// Hexadecimal digits in either case; 0 as soon as another character appears.
int HexValue(std::string_view digits);

}  // namespace m2
