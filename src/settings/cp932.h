#pragma once
// Conversion between the CP932 (Shift-JIS) byte strings of the TA and the settings file
// and UTF-8 for display and input. Half-width katakana stay half-width.
#include <optional>
#include <string>
#include <string_view>

namespace m2 {

// Nothing when the input is not valid in its encoding or has no equivalent in the other.
std::optional<std::string> Cp932ToUtf8(std::string_view cp932);
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

// For display: every byte that does not convert becomes U+FFFD.
std::string Cp932ToUtf8Lossy(std::string_view cp932);

}  // namespace m2
