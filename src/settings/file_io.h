#pragma once
// Whole-file reading with a size bound, and replacing a file so that a crash, a kill or a
// full disk leaves either the old or the new contents, never a mix.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <system_error>
#include <vector>

namespace m2 {

// Nothing when the file cannot be opened or read, is not a regular file, or holds more than
// maxBytes. Never blocks: a FIFO or a device at the path is simply not a file to read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path,
                                                       std::size_t maxBytes);

// Whether the file about to be replaced may go without a copy: called with its contents, or
// nothing when it could not be read.
using OldFileCheck = std::function<bool(const std::optional<std::vector<std::uint8_t>>&)>;

struct ReplaceResult {
  std::error_code error;
  std::filesystem::path keptAs;  // where the old file was kept, when it was
};

// Writes a temporary file in the target's directory (the target is what a symbolic link
// points at) with the old file's permission bits, flushes it to the disk and renames it over
// the target. An old file that mayReplace refuses is first kept beside it as <name>.bad, or
// <name>.bad.1, .bad.2 ... (an existing one is never overwritten). Temporary files that
// earlier saves of processes no longer running left behind are removed. On failure the
// temporary file is removed, the target is untouched and the reason is returned.
ReplaceResult ReplaceFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                          const OldFileCheck& mayReplace = {});

inline std::error_code ReplaceFileAtomically(const std::filesystem::path& path,
                                             std::span<const std::uint8_t> bytes) {
  return ReplaceFile(path, bytes).error;
}

}  // namespace m2
