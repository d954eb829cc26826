#include "settings/cp932.h"

#include <iconv.h>

#include <cerrno>

namespace m2 {
namespace {

// One iconv descriptor for the life of a call.
class Converter {
 public:
  Converter(const char* to, const char* from) : m_cd(::iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) ::iconv_close(m_cd);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

  // Converts as much as it can. On a bad sequence it stops there and reports how many
  // input bytes were consumed.
  bool Run(std::string_view in, std::string& out, std::size_t& consumed) {
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char buffer[256];
    bool good = true;
    while (srcLeft > 0) {
      char* dst = buffer;
      std::size_t dstLeft = sizeof buffer;
      const std::size_t r = ::iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
        good = false;
        break;
      }
    }
    if (good) {
      char* dst = buffer;
      std::size_t dstLeft = sizeof buffer;
      ::iconv(m_cd, nullptr, nullptr, &dst, &dstLeft);  // flush any shift state
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
    } else {
      ::iconv(m_cd, nullptr, nullptr, nullptr, nullptr);  // reset after the bad sequence
    }
    consumed = in.size() - srcLeft;
    return good;
  }

 private:
  iconv_t m_cd;
};

std::optional<std::string> Convert(const char* to, const char* from, std::string_view in) {
  Converter c(to, from);
  if (!c.ok()) return std::nullopt;
  std::string out;
  std::size_t consumed = 0;
  if (!c.Run(in, out, consumed)) return std::nullopt;
  return out;
}

}  // namespace

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) {
  return Convert("UTF-8", "CP932", cp932);
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  return Convert("CP932", "UTF-8", utf8);
}

std::string Cp932ToUtf8Lossy(std::string_view cp932) {
  Converter c("UTF-8", "CP932");
  std::string out;
  if (!c.ok()) return out;
  while (!cp932.empty()) {
    std::size_t consumed = 0;
    if (c.Run(cp932, out, consumed)) break;
    out += "\xEF\xBF\xBD";
    cp932.remove_prefix(consumed + 1);
  }
  return out;
}

}  // namespace m2
