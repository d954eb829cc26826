// The settings file decoder on arbitrary bytes: it must never crash, hang or allocate
// beyond the input, and whatever it accepts must encode back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "settings/settings_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto decoded = m2::DecodeSettingsFile(std::span(data, size));
  if (!decoded) return 0;
  const auto encoded = m2::EncodeSettingsFile(*decoded);
  // Longer prefix forms than needed decode too; they re-encode shorter, never longer.
  if (encoded.size() > size) std::abort();
  if (m2::DecodeSettingsFile(encoded) != decoded) std::abort();
  return 0;
}
