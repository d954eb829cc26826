#pragma once
// The TA's plain-text verdict on its flash-ROM write. Text arrives in chunks of any size;
// the first FromStatusTable word found anywhere in the text so far decides. Text naming no
// word is a failure once a carriage return has arrived, and so is text beyond 1024 bytes.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace m2 {

// Code of the first table word in text, or kCodeUpdateFailed when none occurs. The whole
// text is searched, zero bytes included.
int FindVerdictCode(std::string_view text);

class VerdictCollector {
 public:
  static constexpr std::size_t kLimit = 1024;

  void clear() { m_text.clear(); }
  // The decided code (0 for success), or nullopt while more text is needed.
  std::optional<int> append(const std::uint8_t* data, std::size_t length);
  std::string_view text() const { return m_text; }

 private:
  std::string m_text;
};

}  // namespace m2
