#pragma once
// The settings file's bytes: the record's values in the order of settings_layout.h, with no
// header, padding or separators. An integer is 4 bytes little-endian; a string is a length
// prefix and its bytes: one byte below 255; else FF and 16 bits below FFFE; else FF FF FF
// and 32 bits.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "settings/settings_data.h"

namespace m2 {

std::vector<std::uint8_t> EncodeSettingsFile(const SettingsData& data);

// Nothing when the bytes are not exactly one record: a value runs past the end, a length
// prefix is malformed, or bytes are left over.
std::optional<SettingsData> DecodeSettingsFile(std::span<const std::uint8_t> bytes);

void AppendStringPrefix(std::vector<std::uint8_t>& out, std::size_t length);

}  // namespace m2
