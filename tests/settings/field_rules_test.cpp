// What the property pages accept: numeric ranges and their messages, text limits in CP932
// bytes, the typed-character filter, and the copy-back of edited groups after OK.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "settings/copy_back.h"
#include "settings/cp932_length.h"
#include "settings/field_limits.h"
#include "settings/typed_chars.h"

namespace m2 {
namespace {

struct NumberRow {
  Field field;
  const char* text;
  bool ok;
  int value;
  const char* message;
};

TEST(FieldRules, NumbersAreCheckedAgainstTheirRange) {
  const char* integer = "整数を入力してください。";
  const NumberRow rows[] = {
      {Field::DialDigitTimer, "1", true, 1, ""},
      {Field::DialDigitTimer, "59", true, 59, ""},
      {Field::DialDigitTimer, "0", false, 0, "1 から 59 迄の整数を入力してください。"},
      {Field::DialDigitTimer, "60", false, 0, "1 から 59 迄の整数を入力してください。"},
      {Field::HookDetectTime, "5", true, 5, ""},
      {Field::HookDetectTime, "20", true, 20, ""},
      {Field::HookDetectTime, "4", false, 0, "5 から 20 迄の整数を入力してください。"},
      {Field::HookDetectTime, "21", false, 0, "5 から 20 迄の整数を入力してください。"},
      {Field::HookAcceptTime, "0", true, 0, ""},
      {Field::HookAcceptTime, "9", true, 9, ""},
      {Field::HookAcceptTime, "-", false, 0, integer},
      {Field::HookAcceptTime, "10", false, 0, "0 から 9 迄の整数を入力してください。"},
      {Field::HookAcceptTime, "-1", false, 0, "0 から 9 迄の整数を入力してください。"},
      {Field::TransferRings, "0", false, 0, "1 から 9 迄の整数を入力してください。"},
      {Field::TransferRings, "10", false, 0, "1 から 9 迄の整数を入力してください。"},
      {Field::AnswerRings, "255", true, 255, ""},
      {Field::AnswerRings, "0", false, 0, "1 から 255 迄の整数を入力してください。"},
      {Field::AnswerRings, "256", false, 0, "1 から 255 迄の整数を入力してください。"},
      {Field::AnswerRings, " 7 ", true, 7, ""},
      {Field::AnswerRings, "+7", true, 7, ""},
      {Field::AnswerRings, "", false, 0, integer},
      {Field::AnswerRings, "7a", false, 0, integer},
      {Field::AnswerRings, "1 2", false, 0, integer},
      {Field::AnswerRings, "９", false, 0, integer},
      {Field::AnswerRings, "99999999999", false, 0, "1 から 255 迄の整数を入力してください。"},
  };
  for (const NumberRow& row : rows) {
    SCOPED_TRACE(row.text);
    const NumberCheck check = CheckNumber(row.field, row.text);
    EXPECT_EQ(check.ok, row.ok);
    if (row.ok) {
      EXPECT_EQ(check.value, row.value);
    }
    EXPECT_EQ(check.message, row.message);
  }
}

TEST(FieldRules, TextIsCountedAndTrimmedInCp932Bytes) {
  const std::string kanji10 = "相手先名称相手先名称";  // ten double-byte characters
  EXPECT_EQ(Cp932ByteLength(kanji10), 20u);
  EXPECT_EQ(Cp932ByteLength("ｱﾅﾛｸﾞ"), 5u);  // half-width katakana: one byte each
  EXPECT_EQ(Cp932ByteLength("a\xF0\x9F\x98\x80"), std::nullopt);  // an emoji has no form

  EXPECT_TRUE(CheckText(Field::Name, kanji10).ok);
  EXPECT_EQ(CheckText(Field::Name, kanji10).cp932.size(), 20u);
  EXPECT_EQ(CheckText(Field::Name, kanji10 + "a").message, "20 文字以内で入力してください。");
  EXPECT_EQ(CheckText(Field::SubAddress, std::string(20, '1')).message,
            "19 文字以内で入力してください。");
  EXPECT_EQ(CheckText(Field::Name, "\xF0\x9F\x98\x80").message, kUnstorableText);
  EXPECT_EQ(CheckStoredText(Field::Address, std::string(33, '1')).message,
            "32 文字以内で入力してください。");

  // A double-byte character that would straddle the limit is left out whole.
  EXPECT_EQ(TrimToCp932Bytes("12相手", 3), "12");
  EXPECT_EQ(TrimToCp932Bytes("12相手", 4), "12相");
  EXPECT_EQ(TrimToCp932Bytes("ｱｲｳｴ", 3), "ｱｲｳ");
  EXPECT_EQ(TrimToCp932Bytes("1\xF0\x9F\x98\x80", 3), "1\xF0\x9F\x98\x80");  // kept, checked later
}

TEST(FieldRules, EditsOfALimitedFieldAreCutToTheBytesLeft) {
  struct Row {
    const char* before;
    const char* after;
    std::size_t max;
    const char* text;
    std::size_t cursor;
  };
  const Row rows[] = {
      {"1234", "12345", 5, "12345", 5},    // fits
      {"12345", "123456", 5, "12345", 5},  // typed at the limit: nothing
      {"12345", "12a345", 5, "12345", 2},  // typed in the middle: nothing
      {"12", "12abcdef", 5, "12abc", 5},   // pasted: shortened
      {"名前", "名前相手", 5, "名前", 6},  // a double-byte character does not fit in one byte
      {"名前", "名前ｱ相", 5, "名前ｱ", 9},
      {"1234567", "123467", 5, "123467", 4},  // deleting from an over-long text
      {"", "相手先名称相手先名称相", 20, "相手先名称相手先名称", 30},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.before) + " -> " + row.after);
    const LimitedEdit edit = LimitEdit(row.before, row.after, row.max);
    EXPECT_EQ(edit.text, row.text);
    EXPECT_EQ(edit.cursor, row.cursor);
  }
}

TEST(FieldRules, TypedCharacters) {
  using enum TypedCharRule;
  for (char32_t c : std::u32string_view(U"0123456789*#-()\b\x16\x7f"))
    EXPECT_TRUE(TypedCharAccepted(PhoneNumber, c)) << int(c);
  for (char32_t c : std::u32string_view(U" a+/.,ｱア０"))
    EXPECT_FALSE(TypedCharAccepted(PhoneNumber, c)) << int(c);
  for (char32_t c : std::u32string_view(U"09\b"))
    EXPECT_TRUE(TypedCharAccepted(Digits, c)) << int(c);
  for (char32_t c : std::u32string_view(U"*#-() "))
    EXPECT_FALSE(TypedCharAccepted(Digits, c)) << int(c);
}

TEST(FieldRules, OnlyEditedGroupsAreCopiedBack) {
  CKB45mRXObj record;
  record.LoadDefaults();
  AnalogPortSettings tel1, tel2;
  PortCommonSettings common;
  record.CopyToPage<SettingsGroup::Tel1>(tel1);
  record.CopyToPage<SettingsGroup::Tel2>(tel2);
  record.CopyToPage<SettingsGroup::Common>(common);
  tel1.m_strOwnAddress = "111";
  tel2.m_strOwnAddress = "222";  // changed, but its page never reported an edit
  common.m_nPriorityIncoming = 2;

  CopyBackEdited<SettingsGroup::Tel1, SettingsGroup::Tel2, SettingsGroup::Common>(record, tel1,
                                                                                  tel2, common);
  EXPECT_EQ(record.m_bModified, 0);
  EXPECT_EQ(record.m_data.m_tel1.m_strOwnAddress, "");

  record.Edited(SettingsGroup::Tel1) = 1;
  record.Edited(SettingsGroup::Common) = 1;
  CopyBackEdited<SettingsGroup::Tel1, SettingsGroup::Tel2, SettingsGroup::Common>(record, tel1,
                                                                                  tel2, common);
  EXPECT_EQ(record.m_bModified, 1);
  EXPECT_EQ(record.m_data.m_tel1.m_strOwnAddress, "111");
  EXPECT_EQ(record.m_data.m_tel2.m_strOwnAddress, "");
  EXPECT_EQ(record.m_data.m_common.m_nPriorityIncoming, 2);
}

}  // namespace
}  // namespace m2
