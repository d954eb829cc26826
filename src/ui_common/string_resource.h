#pragma once
// String resources: each program keeps its numbered texts in one constexpr table of these
// rows; views look texts up by number and turn them into QStrings in one place.
#include <QString>
#include <array>
#include <cstddef>
#include <string_view>

namespace m2::ui {

struct StringResource {
  int id;
  std::string_view text;
};

// An empty text for a number the table does not have, as a missing resource loads.
template <std::size_t N>
constexpr std::string_view LookUpString(const std::array<StringResource, N>& table, int id) {
  for (const auto& row : table)
    if (row.id == id) return row.text;
  return {};
}

inline QString Qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace m2::ui
