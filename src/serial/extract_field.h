#pragma once
// Takes the value after a key in a reply and checks it. Pure: the link owner's
// ExtractField reports error 9 when this gives nothing.
#include <optional>
#include <string>
#include <string_view>

namespace m2 {

enum class Delimiters : int { SpaceCr = 0, Cr = 1, HexSuffix = 2 };  // 2: "H", space, CR

enum class FieldCheck : int {
  None = 0,
  Flag = 1,       // exactly "0" or "1"
  Decimal = 2,    // digits only; empty passes
  Hex2 = 3,       // exactly two hexadecimal digits
  Telephone = 4,  // up to 32 of 0-9 * #, optionally "/" and up to 19 more
};

inline constexpr std::size_t kFieldSize = 256;  // destination size, terminator included

// The value, or nothing when the key is missing, the value too long or the check fails.
// A delimiter set number of 3 or more counts as 0.
std::optional<std::string> ExtractFieldValue(std::string_view text, std::string_view key,
                                             int delimiterSet, int checkKind);

bool CheckField(std::string_view value, int checkKind);

}  // namespace m2
