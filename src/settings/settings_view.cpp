#include "settings/settings_view.h"

#include "settings/cp932.h"
#include "settings/settings_layout.h"

namespace m2 {
namespace {

class TextWriter {
 public:
  void Int(const FieldPath& path, const int& value) {
    m_out += path.dotted() + " = " + std::to_string(value) + "\n";
  }
  void Str(const FieldPath& path, const std::string& value) {
    m_out += path.dotted() + " = " + nlohmann::json(Cp932ToUtf8Lossy(value)).dump() + "\n";
  }
  std::string m_out;
};

class JsonWriter {
 public:
  void Int(const FieldPath& path, const int& value) { Slot(path) = value; }
  void Str(const FieldPath& path, const std::string& value) {
    Slot(path) = Cp932ToUtf8Lossy(value);
  }
  nlohmann::ordered_json m_out = nlohmann::ordered_json::object();

 private:
  nlohmann::ordered_json& Slot(const FieldPath& path) {
    nlohmann::ordered_json* node = &m_out;
    if (!path.group.empty()) node = &(*node)[std::string(path.group)];
    if (path.entry >= 0) node = &(*node)["m_aEntry"][static_cast<std::size_t>(path.entry)];
    return (*node)[std::string(path.member)];
  }
};

}  // namespace

std::string SettingsToText(const SettingsData& data) {
  TextWriter w;
  VisitSettings(data, w);
  return w.m_out;
}

nlohmann::ordered_json SettingsToJson(const SettingsData& data) {
  JsonWriter w;
  VisitSettings(data, w);
  return std::move(w.m_out);
}

}  // namespace m2
