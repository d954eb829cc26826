#pragma once
// What the property pages accept in their fields: the range of every numeric field and the
// CP932 byte limit of every text field, in one table, with the messages built from it.
// A page takes a field's text through CheckNumber or CheckText; a failure carries the
// message to show before the focus goes back to the field.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace m2 {

enum class Field {
  DialDigitTimer,  // seconds
  HookDetectTime,  // 0.1 s
  HookAcceptTime,  // seconds
  TransferRings,
  AnswerRings,
  Address,  // own and partner addresses
  SubAddress,
  TransferAddress,  // number, optionally "/" and a sub-address
  Name,             // partner name, kept on the PC only
  Count
};

enum class FieldKind { Number, Text };

struct FieldLimit {
  Field field;
  FieldKind kind;
  int min;  // Number: lowest value; Text: 0
  int max;  // Number: highest value; Text: CP932 bytes
};

inline constexpr std::array<FieldLimit, static_cast<std::size_t>(Field::Count)> kFieldLimits{{
    {Field::DialDigitTimer, FieldKind::Number, 1, 59},
    {Field::HookDetectTime, FieldKind::Number, 5, 20},
    {Field::HookAcceptTime, FieldKind::Number, 0, 9},
    {Field::TransferRings, FieldKind::Number, 1, 9},
    {Field::AnswerRings, FieldKind::Number, 1, 255},
    {Field::Address, FieldKind::Text, 0, 32},
    {Field::SubAddress, FieldKind::Text, 0, 19},
    {Field::TransferAddress, FieldKind::Text, 0, 32},
    {Field::Name, FieldKind::Text, 0, 20},
}};

constexpr bool LimitsInFieldOrder() {
  for (std::size_t i = 0; i < kFieldLimits.size(); ++i)
    if (static_cast<std::size_t>(kFieldLimits[i].field) != i) return false;
  return true;
}
static_assert(LimitsInFieldOrder(), "one row per Field, in enum order");

constexpr const FieldLimit& LimitOf(Field f) { return kFieldLimits[static_cast<std::size_t>(f)]; }

inline constexpr std::string_view kEnterIntegerText = "整数を入力してください。";
// "%1 から %2 迄の整数を入力してください。" with the field's bounds.
std::string RangeMessage(Field f);
// "%1 文字以内で入力してください。" with the field's byte limit.
std::string LengthMessage(Field f);
// Text with a character that has no CP932 form could not be stored.
inline constexpr std::string_view kUnstorableText = "保存できない文字が含まれています。";

struct NumberCheck {
  bool ok = false;
  int value = 0;
  std::string message;  // when not ok
};
// A decimal integer, optionally signed, spaces around it allowed; empty or anything else
// asks for an integer, a value outside the range (overflow included) gives the range.
NumberCheck CheckNumber(Field f, std::string_view text);

struct TextCheck {
  bool ok = false;
  std::string cp932;    // the text as stored, when ok
  std::string message;  // when not ok
};
// UTF-8 text in: refused when a character has no CP932 form or the CP932 form is longer
// than the field's limit.
TextCheck CheckText(Field f, std::string_view utf8);
// The same length check on text already in CP932 (as the record holds it).
TextCheck CheckStoredText(Field f, std::string_view cp932);

}  // namespace m2
