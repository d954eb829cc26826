#include "serial/extract_field.h"

namespace m2 {
namespace {

bool IsDialChar(char c) { return (c >= '0' && c <= '9') || c == '*' || c == '#'; }
bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool IsDelimiter(char c, int set) {
  switch (set) {
    case 1: return c == '\r';
    case 2: return c == 'H' || c == ' ' || c == '\r';
    default: return c == ' ' || c == '\r';
  }
}

bool AllDial(std::string_view s) {
  for (char c : s)
    if (!IsDialChar(c)) return false;
  return true;
}

}  // namespace

bool CheckField(std::string_view value, int checkKind) {
  switch (checkKind) {
    case 1: return value == "0" || value == "1";
    case 2:
      for (char c : value)
        if (c < '0' || c > '9') return false;
      return true;
    case 3: return value.size() == 2 && IsHexDigit(value[0]) && IsHexDigit(value[1]);
    case 4: {
      auto slash = value.find('/');
      std::string_view number = value.substr(0, slash);
      if (number.size() > 32 || !AllDial(number)) return false;
      if (slash == std::string_view::npos) return true;
      std::string_view sub = value.substr(slash + 1);
      return sub.size() <= 19 && AllDial(sub);
    }
    default: return true;
  }
}

std::optional<std::string> ExtractFieldValue(std::string_view text, std::string_view key,
                                             int delimiterSet, int checkKind) {
  if (delimiterSet >= 3 || delimiterSet < 0) delimiterSet = 0;
  auto at = text.find(key);
  if (at == std::string_view::npos) return std::nullopt;
  std::string value;
  for (std::size_t i = at + key.size(); i < text.size(); ++i) {
    char c = text[i];
    if (c == '\0' || IsDelimiter(c, delimiterSet)) break;
    if (value.size() + 1 >= kFieldSize) return std::nullopt;
    value.push_back(c);
  }
  if (!CheckField(value, checkKind)) return std::nullopt;
  return value;
}

}  // namespace m2
