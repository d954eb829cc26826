// The listing parsers on arbitrary replies, in both read modes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/listing_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const int mode = data[0] & 1;
  const std::string_view reply(reinterpret_cast<const char*>(data + 1), size - 1);
  m2::SettingsData d = m2::DefaultSettingsData();
  m2::ResultModes modes;
  (void)m2::ParseOwnAddresses(reply, d);
  (void)m2::ParseTransferAddresses(reply, d);
  (void)m2::ParseSettingsListing(reply, d, mode, modes);
  if (m2::ParseNumberList(reply, d.m_discTel1, mode)) {
    int used = 0;
    for (const auto& e : d.m_discTel1.m_aEntry) {
      if (e.m_strAddress.size() > 32 || e.m_strSubAddress.size() > 19) std::abort();
      used += e.m_bUsed;
    }
    if (used != d.m_discTel1.m_nCount) std::abort();
  }
  return 0;
}
