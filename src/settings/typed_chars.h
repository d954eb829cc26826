#pragma once
// Which typed characters the number fields of the pages let through. Only typing is
// filtered: text the program sets or the user pastes is taken as it is.
namespace m2 {

enum class TypedCharRule {
  PhoneNumber,  // addresses and sub-addresses: digits, "*", "#", "-", "(", ")"
  Digits,       // numeric fields
};

// Control characters (backspace, the clipboard keys) always pass; the space, every other
// printable character and everything from code 128 up (all Shift-JIS and katakana input)
// is dropped.
constexpr bool TypedCharAccepted(TypedCharRule rule, char32_t c) {
  if (c >= 128) return false;
  if (c < 0x20 || c == 0x7F) return true;
  if (c >= '0' && c <= '9') return true;
  if (rule == TypedCharRule::Digits) return false;
  return c == '*' || c == '#' || c == '-' || c == '(' || c == ')';
}

}  // namespace m2
