#pragma once
// CKB45mRXObj, the settings record of M2Setup: SettingsData plus what the exit needs to
// know (save the file, make the TA store its settings) and which group a property page
// has edited. The main dialog owns the one instance.
//
// Property pages hold a copy of one group: CopyToPage<G> hands it out and clears the
// group's edited flag; CopyFromPage<G> takes it back and marks the record for saving.
#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <tuple>
#include <type_traits>

#include "settings/settings_data.h"

namespace m2 {

class LinkOwner;

// The 13 groups a page edits, in the order of the m_bEdited flags.
enum class SettingsGroup : int {
  Tel1,
  Tel1Flex,
  Tel2,
  Tel2Flex,
  Common,
  DataGen,
  DataFlow,
  DataAt,
  PcPort,
  DiscTel1,
  DiscTel2,
  ShortDialData,
  DiscData,
  Count
};
inline constexpr std::size_t kGroupCount = static_cast<std::size_t>(SettingsGroup::Count);

inline constexpr auto kGroupMembers =
    std::make_tuple(&SettingsData::m_tel1, &SettingsData::m_tel1Flex, &SettingsData::m_tel2,
                    &SettingsData::m_tel2Flex, &SettingsData::m_common, &SettingsData::m_dataGen,
                    &SettingsData::m_dataFlow, &SettingsData::m_dataAt, &SettingsData::m_pcPort,
                    &SettingsData::m_discTel1, &SettingsData::m_discTel2,
                    &SettingsData::m_shortDialData, &SettingsData::m_discData);
static_assert(std::tuple_size_v<decltype(kGroupMembers)> == kGroupCount,
              "one member per SettingsGroup, in flag order");

template <SettingsGroup G>
inline constexpr auto kGroupMember = std::get<static_cast<std::size_t>(G)>(kGroupMembers);

template <class>
struct MemberType;
template <class T>
struct MemberType<T SettingsData::*> {
  using type = T;
};
template <SettingsGroup G>
using GroupType = typename MemberType<std::remove_const_t<decltype(kGroupMember<G>)>>::type;

// The text of string resource 149: the settings file's version tag.
inline constexpr int kVersionStringId = 149;

class CKB45mRXObj {
 public:
  static constexpr std::string_view kClassName = "CKB45mRXObj";
  static constexpr int kSchema = 1;

  CKB45mRXObj();

  // The settings file: "M2Setup<version>.dat" in the current directory unless a path is set.
  std::filesystem::path FilePath() const;
  void SetFilePath(std::filesystem::path path) { m_filePath = std::move(path); }

  // 1 when the file was read. A file that cannot be read whole (missing, truncated,
  // corrupt, not a regular file) counts as not read: report 0 loads the defaults
  // silently, report 1 reports message 11 through the link and leaves the record as it is.
  int LoadFile(int report, LinkOwner& link);
  // Replaces the file atomically; the old file survives any failure. A file there that is
  // not a settings file (it failed to load) is first kept beside it as <name>.bad[.N].
  struct SaveResult {
    std::error_code error;
    std::filesystem::path keptBadFile;  // set when a rejected file was kept
    explicit operator bool() const { return !error; }
  };
  [[nodiscard]] SaveResult SaveFile();
  void LoadDefaults();

  template <SettingsGroup G>
  void CopyToPage(GroupType<G>& page) {
    page = m_data.*kGroupMember<G>;
    m_bEdited[static_cast<std::size_t>(G)] = 0;
  }
  template <SettingsGroup G>
  void CopyFromPage(const GroupType<G>& page) {
    m_data.*kGroupMember<G> = page;
    m_bModified = 1;
  }
  int& Edited(SettingsGroup g) { return m_bEdited[static_cast<std::size_t>(g)]; }

  const void* m_hDefData = nullptr;
  std::string m_strVersion;
  int m_bModified = 0;
  int m_bTaChanged = 0;
  std::array<int, kGroupCount> m_bEdited{};
  SettingsData m_data;

 private:
  std::filesystem::path m_filePath;
};

}  // namespace m2
