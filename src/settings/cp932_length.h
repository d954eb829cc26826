#pragma once
// Text limits count bytes as the settings file and the TA store them: CP932, where a
// double-byte character (kanji, full-width forms) takes two bytes and ASCII and
// half-width katakana one. Input is UTF-8, as the user interface holds it.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace m2 {

// The CP932 length of the text; nothing when a character has no CP932 form.
std::optional<std::size_t> Cp932ByteLength(std::string_view utf8);

// The longest leading part of the text whose CP932 form fits maxBytes, cut between
// characters. A character with no CP932 form counts two bytes: it is kept for the check
// that refuses it with a message, not dropped without a word.
std::string TrimToCp932Bytes(std::string_view utf8, std::size_t maxBytes);

// One edit of a limited field (typing, pasting, deleting), given the text before and
// after it. What the edit inserted is cut to the bytes left, so typing at the limit does
// nothing and a paste is shortened; deleting always goes through, even from a text that
// was over the limit already. cursor: the UTF-8 bytes before the cursor, which stands after what
// was inserted.
struct LimitedEdit {
  std::string text;
  std::size_t cursor = 0;
};
LimitedEdit LimitEdit(std::string_view before, std::string_view after, std::size_t maxBytes);

}  // namespace m2
