#include "settings/field_limits.h"

#include <charconv>

#include "settings/cp932.h"

namespace m2 {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

std::string RangeMessage(Field f) {
  const FieldLimit& limit = LimitOf(f);
  return std::to_string(limit.min) + " から " + std::to_string(limit.max) +
         " 迄の整数を入力してください。";
}

std::string LengthMessage(Field f) {
  return std::to_string(LimitOf(f).max) + " 文字以内で入力してください。";
}

NumberCheck CheckNumber(Field f, std::string_view text) {
  text = TrimBlanks(text);
  std::string_view digits = text;
  if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
  if (!AllDigits(digits)) return {false, 0, std::string(kEnterIntegerText)};

  const FieldLimit& limit = LimitOf(f);
  if (text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || value < limit.min ||
      value > limit.max)
    return {false, 0, RangeMessage(f)};
  return {true, value, {}};
}

TextCheck CheckStoredText(Field f, std::string_view cp932) {
  if (cp932.size() > static_cast<std::size_t>(LimitOf(f).max)) return {false, {}, LengthMessage(f)};
  return {true, std::string(cp932), {}};
}

TextCheck CheckText(Field f, std::string_view utf8) {
  auto cp932 = Utf8ToCp932(utf8);
  if (!cp932) return {false, {}, std::string(kUnstorableText)};
  return CheckStoredText(f, *cp932);
}

}  // namespace m2
