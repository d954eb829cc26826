#pragma once
// The record as text and as JSON for `m2ctl show`: every stored value under its member
// path (m_tel1.m_nHlcType, m_discTel1.m_aEntry[3].m_strName), strings in UTF-8.
#include <nlohmann/json.hpp>
#include <string>

#include "settings/settings_data.h"

namespace m2 {

// One line per value, in file order: `path = 5` or `path = "text"`.
std::string SettingsToText(const SettingsData& data);

// Nested objects by member name, list entries as arrays, so that the path
// .m_discTel1.m_aEntry[3].m_strName reaches the value.
nlohmann::ordered_json SettingsToJson(const SettingsData& data);

}  // namespace m2
