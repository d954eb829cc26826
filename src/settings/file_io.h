#pragma once
// Whole-file reading with a size bound, and replacing a file so that a crash, a kill or a
// full disk leaves either the old or the new contents, never a mix.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <system_error>
#include <vector>

namespace m2 {

// Nothing when the file cannot be opened or read, or holds more than maxBytes.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path,
                                                       std::size_t maxBytes);

// Writes a temporary file in the target's directory, flushes it to the disk and renames
// it over the target. On failure the temporary file is removed, the target is untouched
// and the reason is returned.
std::error_code ReplaceFileAtomically(const std::filesystem::path& path,
                                      std::span<const std::uint8_t> bytes);

}  // namespace m2
