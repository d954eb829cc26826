#include "settings/settings_record.h"

#include <array>
#include <cstdint>

#include "serial/error_table.h"
#include "serial/link_owner.h"
#include "settings/file_io.h"
#include "settings/settings_codec.h"
#include "settings/string_resources.h"

namespace m2 {
namespace {

// The default-data resource. Only its presence matters; being part of the program it
// cannot be missing, so the defaults always apply.
constexpr std::array<std::uint8_t, 3> kDefaultDataResource{0x01, 0x00, 0x00};

// Far beyond any record the pages can produce; a bigger file is not ours.
constexpr std::size_t kMaxFileBytes = 1 << 20;

}  // namespace

CKB45mRXObj::CKB45mRXObj() : m_strVersion(LoadStringResource(kVersionStringId)) {}

std::filesystem::path CKB45mRXObj::FilePath() const {
  if (!m_filePath.empty()) return m_filePath;
  return "M2Setup" + m_strVersion + ".dat";
}

int CKB45mRXObj::LoadFile(int report, LinkOwner& link) {
  std::optional<SettingsData> loaded;
  if (auto bytes = ReadWholeFile(FilePath(), kMaxFileBytes)) loaded = DecodeSettingsFile(*bytes);
  if (loaded) {
    m_data = std::move(*loaded);
    return 1;
  }
  if (report == 1)
    link.ReportError(err::kNoSettingsFile, kDisplayMessageBox);
  else
    LoadDefaults();
  return 0;
}

CKB45mRXObj::SaveResult CKB45mRXObj::SaveFile() {
  const std::vector<std::uint8_t> bytes = EncodeSettingsFile(m_data);
  const ReplaceResult r = ReplaceFile(FilePath(), bytes, [](const auto& old) {
    return old && DecodeSettingsFile(*old).has_value();
  });
  return {r.error, r.keptAs};
}

void CKB45mRXObj::LoadDefaults() {
  m_hDefData = kDefaultDataResource.data();
  m_data = DefaultSettingsData();
}

}  // namespace m2
