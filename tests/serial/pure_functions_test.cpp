// Reply classification, field extraction and the fixed tables.
#include <gtest/gtest.h>

#include <string>

#include "serial/cause_table.h"
#include "serial/classify_response.h"
#include "serial/error_table.h"
#include "serial/extract_field.h"
#include "serial/port_tables.h"

namespace m2 {
namespace {

struct ClassifyCase {
  const char* text;
  const char* command;
  bool lenient;
  int expected;
};

TEST(ClassifyResponse, FinalResultsEchoAndIdentification) {
  const ClassifyCase cases[] = {
      {"ATI0\r\r\nM-2KLX\r\n\r\nOK\r\n", "ATI0\r", false, 0},
      {"\r\nERROR\r\n", "ATX\r", false, 1},
      {"\r\nNO CARRIER\r\n", "ATD\r", false, 2},
      {"\r\nERROR\r\n\r\nOK\r\n", "AT\r", false, 0},  // OK wins whatever the order
      {"\r\nOK\r\n\r\nERROR\r\n", "AT\r", false, 0},
      {"ATQ0\r", "ATQ0\r", true, kNoFinalResult},  // the echo's "0\r" is not a numeric OK
      {"ATQ0\r0\r", "ATQ0\r", true, 10},
      {"0\r", "ATI0\r", false, kNoFinalResult},  // numeric only when lenient
      {"0\r", "ATI0\r", true, 10},
      {"4\r", "ATX\r", true, 11},
      {"3\r", "ATD\r", true, 12},
      {"M-2KLX\r\n0\r", "ATI0\r", true, 10},
      {"\r\nM-2KLX\r\n", "ATI0\r", true, kNoFinalResult},  // text only: still waiting
      {"ATS112?\r\r\n3\r\n", "ATS112?\r", false, kNoFinalResult},
      {"ATS112?\r\r\n3\r\n", "ATS112?\r", true, 12},  // numeric codes are plain substrings
      // Verbal codes first: "1.20\r" holds a numeric "0\r".
      {"ATI3\r\r\nM-2KLX Ver 1.20\r\n\r\nOK\r\n", "ATI3\r", true, 0},
      {"ATI3\r\r\nM-2KLX Ver 1.20\r\n\r\nERROR\r\n", "ATI3\r", true, 1},
      {"", "ATI0\r", true, kNoFinalResult},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ClassifyResponse(c.text, c.command, c.lenient), c.expected) << c.text;
}

struct FieldCase {
  std::string text;
  const char* key;
  int delimiters;
  int check;
  bool found;
  const char* value;
};

TEST(ExtractField, DelimitersAndChecks) {
  const FieldCase cases[] = {
      {"\r\n1:450\r\n", "\r\n1:", 1, 2, true, "450"},
      {"\r\n1:4 50\r\n", "\r\n1:", 1, 2, false, ""},     // space is no delimiter in set 1
      {"X:12 34\r", "X:", 0, 2, true, "12"},
      {"S65:04H\r", "S65:", 2, 3, true, "04"},
      {"S65:0c\r", "S65:", 2, 3, true, "0c"},
      {"S65:4H\r", "S65:", 2, 3, false, ""},              // exactly two hex digits
      {"S65:0GH\r", "S65:", 2, 3, false, ""},
      {"E1 Q0\r", "E", 7, 1, true, "1"},                  // set 3 or more counts as 0
      {"E2\r", "E", 0, 1, false, ""},
      {"E\r", "E", 0, 1, false, ""},
      {"\r\n2:\r\n", "\r\n2:", 1, 2, true, ""},           // empty decimal passes
      {"abc", "zz", 0, 0, false, ""},                     // key missing
      {"N:0312345678/99\r", "N:", 1, 4, true, "0312345678/99"},
      {"N:*#12\r", "N:", 1, 4, true, "*#12"},
      {"N:12-3\r", "N:", 1, 4, false, ""},
      {"N:1/2/3\r", "N:", 1, 4, false, ""},
  };
  for (const auto& c : cases) {
    auto v = ExtractFieldValue(c.text, c.key, c.delimiters, c.check);
    ASSERT_EQ(v.has_value(), c.found) << c.text;
    if (c.found) {
      EXPECT_EQ(*v, c.value);
    }
  }
}

TEST(ExtractField, LengthLimits) {
  EXPECT_TRUE(ExtractFieldValue("K" + std::string(255, 'a') + "\r", "K", 1, 0));
  EXPECT_FALSE(ExtractFieldValue("K" + std::string(256, 'a') + "\r", "K", 1, 0));
  EXPECT_TRUE(CheckField(std::string(32, '1'), 4));
  EXPECT_FALSE(CheckField(std::string(33, '1'), 4));
  EXPECT_TRUE(CheckField(std::string(32, '1') + "/" + std::string(19, '2'), 4));
  EXPECT_FALSE(CheckField("1/" + std::string(20, '2'), 4));
}

TEST(Tables, ErrorMessagesWithDefaultRow) {
  EXPECT_EQ(ErrorMessageText(2), "ﾊﾟｿｺﾝ通信ﾎﾟｰﾄがｵｰﾌﾟﾝできません");
  EXPECT_EQ(ErrorMessageText(4), "ﾊﾟｿｺﾝ通信ﾎﾟｰﾄの受信待ちﾀｲﾏがﾀｲﾑｱｳﾄしました");
  EXPECT_EQ(ErrorMessageText(11), "設定保存ﾌｧｲﾙが存在しません");
  EXPECT_EQ(ErrorMessageText(1), "その他のｴﾗｰが発生しました");
  EXPECT_EQ(ErrorMessageText(12), "その他のｴﾗｰが発生しました");
  EXPECT_EQ(ErrorMessageText(-1), "その他のｴﾗｰが発生しました");
}

TEST(Tables, SpeedsAndFormats) {
  EXPECT_EQ(SpeedTable[0].baud, 2400u);
  EXPECT_EQ(SpeedTable[6].baud, 115200u);
  EXPECT_EQ(SpeedIndexOf(9600), 2);
  EXPECT_FALSE(SpeedIndexOf(1200));
  EXPECT_EQ(FormatIndexOf("7e1"), 1);
  EXPECT_EQ(FormatTable[2].parity, Parity::Odd);
  EXPECT_EQ(FormatTable[3].stopBits, 2);
  EXPECT_EQ(FormatTable[3].byteSize, 7);
  EXPECT_FALSE(FormatIndexOf("8E1"));
}

TEST(Tables, CauseTexts) {
  EXPECT_EQ(CauseText(255), "");
  EXPECT_EQ(CauseText(16), "正常切断 (016)");
  EXPECT_EQ(CauseText(34), "使用できるﾁｬﾈﾙなし(Bch) (034)");
  EXPECT_EQ(CauseText(127), "その他のｲﾝﾀﾜｰｷﾝｸﾞｸﾗｽ (127)");
  EXPECT_EQ(CauseText(4), "その他のｴﾗｰ (004)");
  EXPECT_EQ(CauseText(232), "自動再発信制限による発信の失敗 (232)");
}

TEST(Tables, HexValuesInEitherCase) {
  EXPECT_EQ(HexByteValue("1F"), 31);
  EXPECT_EQ(HexByteValue("1f"), 31);
  EXPECT_EQ(HexByteValue("FF"), 255);
  EXPECT_EQ(HexByteValue("0G"), -1);
}

}  // namespace
}  // namespace m2
