// The listing parsers against hand-written TA replies: every conversion, the
// first-occurrence rule and what a failure leaves behind.
#include "settings/listing_parser.h"

#include <gtest/gtest.h>

#include <string>

namespace m2 {
namespace {

// A factory-state AT&V0 reply with its echo. "Q" and "X" come before "&Q" and "X" has no
// earlier match, as the TA lays them out.
const std::string kFactoryListing =
    "AT&V0\r"
    "\r\nE1 Q0 V1 X1 &C1 &D2 &K1 &Q1 &S0 $R0 @B0 @G0\r\n"
    "$P0=1 $G0=1 $I0=1 $S0=0 $H0=1\r\n"
    "$P1=1 @P1=0 $G1=1 $I1=1 $S1=0 $H1=1 @C1=5 @T1=0 @R1=0 @I1=0 @F1=5 @H1=10 @D1=0\r\n"
    "$P2=1 $G2=1 $I2=1 $S2=0 $H2=1 @C2=5 @T2=0 @R2=0 @I2=0 @F2=5 @H2=10 @D2=0\r\n"
    "S0:01H S65:00H S66:00H S80:02H S81:02H\r\n"
    "\r\nOK\r\n";

std::string With(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

SettingsData Scrambled() {
  SettingsData d;
  d.m_tel1.m_nHlcType = 0;
  d.m_tel1.m_nDialDigitTimer = 77;
  d.m_tel2.m_nHlcType = 1;
  d.m_dataGen.m_nProtocol = 77;
  d.m_dataAt.m_nCodeSet = 77;
  d.m_common.m_nPriorityIncoming = 77;
  return d;
}

TEST(SettingsListing, FactoryListingAfterResetGivesTheDefaults) {
  SettingsData d = Scrambled();
  ResultModes modes{0, 0};
  ASSERT_TRUE(ParseSettingsListing(kFactoryListing, d, kReadAfterReset, modes));
  const SettingsData def = DefaultSettingsData();
  EXPECT_EQ(d.m_tel1, def.m_tel1);
  EXPECT_EQ(d.m_tel1Flex, def.m_tel1Flex);
  EXPECT_EQ(d.m_tel2, def.m_tel2);
  EXPECT_EQ(d.m_tel2Flex, def.m_tel2Flex);
  EXPECT_EQ(d.m_common, def.m_common);
  EXPECT_EQ(d.m_dataGen, def.m_dataGen);
  EXPECT_EQ(d.m_dataFlow, def.m_dataFlow);
  EXPECT_EQ(d.m_dataAt, def.m_dataAt);
  EXPECT_EQ(modes.resultCodesWereOn, 1);
  EXPECT_EQ(modes.verboseWasOn, 1);
}

TEST(SettingsListing, HlcRegister) {
  struct Row {
    std::string value;
    int expected;
  };
  const Row rows[] = {{"04", 1}, {"00", 2}, {"01", 0}, {"02", 99}, {"FF", 99}, {"0c", 99}};
  for (const Row& r : rows) {
    SettingsData d;
    d.m_tel1.m_nHlcType = 99;
    ResultModes modes;
    ASSERT_TRUE(ParseSettingsListing(With(kFactoryListing, "S65:00H", "S65:" + r.value + "H"), d,
                                     kReadPlain, modes))
        << r.value;
    EXPECT_EQ(d.m_tel1.m_nHlcType, r.expected) << "S65:" << r.value;
    EXPECT_EQ(d.m_tel2.m_nHlcType, 2);
  }
}

TEST(SettingsListing, RingRegisters) {
  struct Row {
    std::string from, to;
    int start, rings;
  };
  // S80 (TEL1 transfer) and S0 (automatic answer) share the coding.
  const Row rows[] = {
      {"S80:02H", "S80:0CH", 1, 12}, {"S80:02H", "S80:0cH", 1, 12},  // lower-case digits read like
                                                                     // capitals
      {"S80:02H", "S80:00H", 0, 1},  {"S0:01H", "S0:00H", 0, 1},    {"S0:01H", "S0:0AH", 1, 10},
      {"S0:01H", "S0:ffH", 1, 255},
  };
  for (const Row& r : rows) {
    SettingsData d;
    ResultModes modes;
    ASSERT_TRUE(ParseSettingsListing(With(kFactoryListing, r.from, r.to), d, kReadPlain, modes))
        << r.to;
    if (r.from[1] == '8') {
      EXPECT_EQ(d.m_tel1Flex.m_nTransferStart, r.start) << r.to;
      EXPECT_EQ(d.m_tel1Flex.m_nTransferRings, r.rings) << r.to;
      EXPECT_EQ(d.m_tel2Flex.m_nTransferRings, 2) << r.to;
    } else {
      EXPECT_EQ(d.m_dataGen.m_nAutoAnswer, r.start) << r.to;
      EXPECT_EQ(d.m_dataGen.m_nAnswerRings, r.rings) << r.to;
    }
  }
}

TEST(SettingsListing, CallWaitingBitSet) {
  struct Row {
    int value;
    PortCommonSettings expected;
  };
  const Row rows[] = {
      {16, {1, 0, 0, 0, 0, 0}}, {8, {1, 1, 0, 0, 0, 0}},  {7, {0, 0, 1, 1, 1, 0}},
      {15, {1, 1, 1, 1, 1, 0}}, {24, {1, 1, 0, 0, 0, 0}}, {2, {0, 0, 0, 1, 0, 0}},
  };
  for (const Row& r : rows) {
    SettingsData d;
    ResultModes modes;
    const std::string listing =
        With(kFactoryListing, "@B0 @G0", "@B" + std::to_string(r.value) + " @G2");
    ASSERT_TRUE(ParseSettingsListing(listing, d, kReadPlain, modes)) << r.value;
    PortCommonSettings expected = r.expected;
    expected.m_nPriorityIncoming = 2;
    EXPECT_EQ(d.m_common, expected) << "@B" << r.value;
  }
}

TEST(SettingsListing, InvertedAndDerivedFlags) {
  SettingsData d;
  ResultModes modes;
  std::string listing = With(kFactoryListing, "$H1=1", "$H1=0");
  listing = With(listing, "$H0=1", "$H0=0");
  listing = With(listing, "@D1=0", "@D1=2");
  listing = With(listing, "@D2=0", "@D2=1");
  listing = With(listing, "&S0", "&S2");
  ASSERT_TRUE(ParseSettingsListing(listing, d, kReadPlain, modes));
  EXPECT_EQ(d.m_tel1.m_bHlcDiscriminate, 1);
  EXPECT_EQ(d.m_tel2.m_bHlcDiscriminate, 0);
  EXPECT_EQ(d.m_dataGen.m_bHlcDiscriminate, 1);
  EXPECT_EQ(d.m_tel1Flex.m_bTransferTalk, 1);
  EXPECT_EQ(d.m_tel1Flex.m_bTransferSourceTalk, 0);
  EXPECT_EQ(d.m_tel2Flex.m_bTransferTalk, 0);
  EXPECT_EQ(d.m_tel2Flex.m_bTransferSourceTalk, 1);
  EXPECT_EQ(d.m_dataFlow.m_nDrSignal, 1);
}

TEST(SettingsListing, PlainReadTakesResultModesFromTheLink) {
  // Without "Q" and " V" at all the plain read still completes.
  const std::string listing = With(kFactoryListing, "E1 Q0 V1 X1", "E0 X3");
  struct Row {
    ResultModes modes;
    int codes, format;
  };
  const Row rows[] = {{{1, 1}, 1, 1}, {{0, 0}, 0, 0}, {{0, 1}, 0, 1}, {{1, 2}, 1, 0}};
  for (const Row& r : rows) {
    SettingsData d;
    ResultModes modes = r.modes;
    ASSERT_TRUE(ParseSettingsListing(listing, d, kReadPlain, modes));
    EXPECT_EQ(d.m_dataAt, (DataAtSettings{0, r.codes, r.format, 3}));
    EXPECT_EQ(modes.resultCodesWereOn, r.modes.resultCodesWereOn);
    EXPECT_EQ(modes.verboseWasOn, r.modes.verboseWasOn);
  }
  // After a reset they must be there: the echoed AT&V0 is no " V".
  SettingsData d;
  ResultModes modes;
  EXPECT_FALSE(ParseSettingsListing(With(kFactoryListing, " V1", ""), d, kReadAfterReset, modes));
}

TEST(SettingsListing, ResetReadSetsTheLinksModes) {
  SettingsData d;
  ResultModes modes{1, 1};
  ASSERT_TRUE(
      ParseSettingsListing(With(kFactoryListing, "Q0 V1", "Q1 V0"), d, kReadAfterReset, modes));
  EXPECT_EQ(d.m_dataAt.m_bResultCodes, 0);
  EXPECT_EQ(d.m_dataAt.m_nResultFormat, 0);
  EXPECT_EQ(modes.resultCodesWereOn, 0);
  EXPECT_EQ(modes.verboseWasOn, 0);
}

TEST(SettingsListing, FirstOccurrenceWins) {
  // "&Q1" placed before "Q0" is taken for the result-code item.
  SettingsData d;
  ResultModes modes;
  const std::string listing = With(kFactoryListing, "E1 Q0 V1", "&Q1 E1 Q0 V1");
  ASSERT_TRUE(ParseSettingsListing(listing, d, kReadAfterReset, modes));
  EXPECT_EQ(d.m_dataAt.m_bResultCodes, 0);
}

TEST(SettingsListing, FailureKeepsWhatWasStoredBefore) {
  SettingsData d = Scrambled();
  ResultModes modes{0, 0};
  EXPECT_FALSE(
      ParseSettingsListing(With(kFactoryListing, "@G0", "@X0"), d, kReadAfterReset, modes));
  EXPECT_EQ(d.m_tel1.m_nHlcType, 2);  // parsed before
  EXPECT_EQ(d.m_tel1.m_nDialDigitTimer, 5);
  EXPECT_EQ(d.m_tel2.m_nHlcType, 2);
  EXPECT_EQ(d.m_common.m_nPriorityIncoming, 77);  // the failing item
  EXPECT_EQ(d.m_dataGen.m_nProtocol, 77);         // after it
  EXPECT_EQ(d.m_dataAt.m_nCodeSet, 77);
  EXPECT_EQ(modes.resultCodesWereOn, 0);
}

TEST(SettingsListing, MalformedValuesFail) {
  for (auto [from, to] : {std::pair{"$P1=1", "$P1=2"}, std::pair{"$P1=1", "$P1="},
                          std::pair{"@C1=5", "@C1=5a"}, std::pair{"@C1=5", "@C1=99999999999"},
                          std::pair{"@P1=0", "@P1=x"}, std::pair{"$G2=1", "$G2=11"}}) {
    SettingsData d;
    ResultModes modes;
    EXPECT_FALSE(ParseSettingsListing(With(kFactoryListing, from, to), d, kReadPlain, modes)) << to;
  }
  // An empty decimal field passes and reads as 0.
  SettingsData d;
  ResultModes modes;
  ASSERT_TRUE(ParseSettingsListing(With(kFactoryListing, "@C1=5", "@C1="), d, kReadPlain, modes));
  EXPECT_EQ(d.m_tel1.m_nDialDigitTimer, 0);
}

TEST(OwnAddresses, SplitsNumberAndSubAddress) {
  SettingsData d;
  d.m_tel2.m_strOwnAddress = "old";
  ASSERT_TRUE(
      ParseOwnAddresses("AT$Z\r\r\n0:0451234567\r\n1:0312345678/12\r\n2:\r\n\r\nOK\r\n", d));
  EXPECT_EQ(d.m_dataGen.m_strOwnAddress, "0451234567");
  EXPECT_EQ(d.m_dataGen.m_strOwnSubAddress, "");
  EXPECT_EQ(d.m_tel1.m_strOwnAddress, "0312345678");
  EXPECT_EQ(d.m_tel1.m_strOwnSubAddress, "12");
  EXPECT_EQ(d.m_tel2.m_strOwnAddress, "");
  EXPECT_EQ(d.m_tel2.m_strOwnSubAddress, "");
}

TEST(OwnAddresses, LimitsAndMissingLines) {
  const std::string n32(32, '1'), n33(33, '1'), s19(19, '2'), s20(20, '2');
  SettingsData d;
  EXPECT_TRUE(ParseOwnAddresses("\r\n0:" + n32 + "/" + s19 + "\r\n1:*#\r\n2:/\r\n", d));
  EXPECT_EQ(d.m_tel1.m_strOwnAddress, "*#");
  EXPECT_FALSE(ParseOwnAddresses("\r\n0:" + n33 + "\r\n1:\r\n2:\r\n", d));
  EXPECT_FALSE(ParseOwnAddresses("\r\n0:1/" + s20 + "\r\n1:\r\n2:\r\n", d));
  EXPECT_FALSE(ParseOwnAddresses("\r\n0:12-34\r\n1:\r\n2:\r\n", d));
  d.m_tel2.m_strOwnAddress = "kept";
  EXPECT_FALSE(ParseOwnAddresses("\r\n0:1\r\n1:2\r\n", d));
  EXPECT_EQ(d.m_tel1.m_strOwnAddress, "2");
  EXPECT_EQ(d.m_tel2.m_strOwnAddress, "kept");
}

TEST(TransferAddresses, WholeValueWithSubAddress) {
  SettingsData d;
  ASSERT_TRUE(ParseTransferAddresses("\r\n1:0312345678/5\r\n2:\r\n", d));
  EXPECT_EQ(d.m_tel1Flex.m_strTransferAddress, "0312345678/5");
  EXPECT_EQ(d.m_tel2Flex.m_strTransferAddress, "");
  // 32 in all is the limit, sub-address included.
  EXPECT_TRUE(ParseTransferAddresses("\r\n1:" + std::string(29, '1') + "/12\r\n2:\r\n", d));
  EXPECT_FALSE(ParseTransferAddresses("\r\n1:" + std::string(30, '1') + "/12\r\n2:\r\n", d));
}

std::string ListReply(const std::array<std::string, 10>& values, int skip = -1) {
  std::string out = "AT$X\r";
  for (int i = 0; i < 10; ++i)
    if (i != skip) out += "\r\n" + std::to_string(i) + ":" + values[static_cast<std::size_t>(i)];
  return out + "\r\n\r\nOK\r\n";
}

TEST(NumberListParse, EntriesUsedFlagsAndCount) {
  NumberList l;
  l.m_aEntry[4].m_strName = "\xB6\xB2\xBC\xAC";  // a name the TA does not know
  l.m_aEntry[5].m_strName = "gone";
  ASSERT_TRUE(ParseNumberList(
      ListReply({"0312345678/12", "", "*#0", "", "", "777", "", "", "", "9"}), l, kReadPlain));
  EXPECT_EQ(l.m_aEntry[0], (NumberEntry{1, "", "0312345678", "12"}));
  EXPECT_EQ(l.m_aEntry[1], (NumberEntry{0, "", "", ""}));
  EXPECT_EQ(l.m_aEntry[4], (NumberEntry{1, "\xB6\xB2\xBC\xAC", "", ""}));  // name only: still used
  EXPECT_EQ(l.m_aEntry[5], (NumberEntry{1, "gone", "777", ""}));
  EXPECT_EQ(l.m_nCount, 5);

  ASSERT_TRUE(
      ParseNumberList(ListReply({"", "", "", "", "", "", "", "", "", ""}), l, kReadAfterReset));
  EXPECT_EQ(l, NumberList{});
}

TEST(NumberListParse, MissingEntrySevenStopsThere) {
  NumberList l;
  for (auto& e : l.m_aEntry) e = {1, "n", "111", "2"};
  l.m_nCount = 10;
  EXPECT_FALSE(ParseNumberList(ListReply({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}, 7), l,
                               kReadAfterReset));
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(l.m_aEntry[static_cast<std::size_t>(i)], (NumberEntry{1, "", std::to_string(i), ""}));
  for (int i = 7; i < 10; ++i)
    EXPECT_EQ(l.m_aEntry[static_cast<std::size_t>(i)], (NumberEntry{1, "n", "111", "2"}));
  EXPECT_EQ(l.m_nCount, 10);
}

TEST(ValueConversion, DecimalAndHex) {
  EXPECT_EQ(DecimalValue(""), 0);
  EXPECT_EQ(DecimalValue("0"), 0);
  EXPECT_EQ(DecimalValue("2147483647"), 2147483647);
  EXPECT_EQ(DecimalValue("2147483648"), std::nullopt);
  EXPECT_EQ(DecimalValue("12x"), 12);
  struct Row {
    const char* text;
    int value;
  };
  for (Row r : {Row{"00", 0}, Row{"0A", 10}, Row{"0a", 10}, Row{"FF", 255}, Row{"fF", 255},
                Row{"1G", 0}, Row{"-1", 0}})
    EXPECT_EQ(HexValue(r.text), r.value) << r.text;
}

}  // namespace
}  // namespace m2
