#include "update/verdict.h"

#include "update/progress_tables.h"

namespace m2 {

int FindVerdictCode(std::string_view text) {
  for (const auto& row : FromStatusTable)
    if (text.find(row.word) != std::string_view::npos) return row.code;
  return kCodeUpdateFailed;
}

std::optional<int> VerdictCollector::append(const std::uint8_t* data, std::size_t length) {
  if (m_text.size() + length > kLimit) return kCodeUpdateFailed;
  m_text.append(reinterpret_cast<const char*>(data), length);
  const int code = FindVerdictCode(m_text);
  if (code == kCodeUpdateFailed && m_text.find('\r') == std::string::npos) return std::nullopt;
  return code;
}

}  // namespace m2
