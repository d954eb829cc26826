// The commands each write transaction sends, in order, with their encodings.
#include "settings/write_commands.h"

#include <gtest/gtest.h>

namespace m2 {
namespace {

TEST(AnalogSheet, Encodings) {
  SettingsData d = DefaultSettingsData();
  struct Row {
    int hlc;
    const char* command;
  };
  for (Row r :
       {Row{0, "ATS65=1\r"}, Row{1, "ATS65=4\r"}, Row{2, "ATS65=0\r"}, Row{7, ""}}) {
    d.m_tel1.m_nHlcType = r.hlc;
    EXPECT_EQ(AnalogSheetCommands(d.m_tel1, d.m_tel2, d.m_common)[0], r.command);
  }
  d.m_tel1.m_strOwnAddress = "0312345678";
  EXPECT_EQ(AnalogSheetCommands(d.m_tel1, d.m_tel2, d.m_common)[1], "AT$Z1=0312345678\r");
  d.m_tel1.m_strOwnSubAddress = "5";
  EXPECT_EQ(AnalogSheetCommands(d.m_tel1, d.m_tel2, d.m_common)[1], "AT$Z1=0312345678/5\r");
  d.m_tel2.m_bHlcDiscriminate = 1;
  d.m_tel2.m_bPolarityReversal = 1;  // no command carries it
  const CommandList c = AnalogSheetCommands(d.m_tel1, d.m_tel2, d.m_common);
  EXPECT_EQ(c[17], "AT$H2=0\r");
  EXPECT_EQ(std::count_if(c.begin(), c.end(),
                          [](const std::string& s) { return s.starts_with("AT@P2"); }),
            0);
}

TEST(AnalogSheet, CallWaitingBitSet) {
  struct Row {
    PortCommonSettings common;
    const char* command;
  };
  const Row rows[] = {
      {{1, 0, 1, 1, 1, 0}, "AT@B16\r"},  // pseudo: the other three go out as off
      {{1, 1, 1, 1, 1, 0}, "AT@B15\r"},
      {{0, 0, 0, 1, 0, 2}, "AT@B2\r"},
      {{0, 1, 1, 0, 1, 2}, "AT@B5\r"},
      {{1, 2, 1, 1, 1, 0}, ""},  // out of range (a damaged file): no command
      {{2, 0, 1, 1, 1, 0}, ""},
  };
  const SettingsData d = DefaultSettingsData();
  for (const Row& r : rows) {
    const CommandList c = AnalogSheetCommands(d.m_tel1, d.m_tel2, r.common);
    ASSERT_EQ(c.size(), 23u);
    EXPECT_EQ(c[21], r.command);
    EXPECT_EQ(c[22], "AT@G" + std::to_string(r.common.m_nPriorityIncoming) + "\r");
  }
}

TEST(FlexSheet, OrderAndEncodings) {
  FlexphoneSettings f{1, 3, 12, "0312345678/9", 1, 1, 0, 5};
  EXPECT_EQ(FlexSheetCommands(2, f),
            (CommandList{"AT@I2=1\r", "AT@F2=3\r", "AT@H2=12\r", "AT@A2=0312345678/9\r",
                         "AT@D2=3\r", "ATS81=0\r"}));
  f.m_nTransferStart = 1;
  f.m_bTransferTalk = 0;
  const CommandList c = FlexSheetCommands(1, f);
  EXPECT_EQ(c[4], "AT@D1=1\r");
  EXPECT_EQ(c[5], "ATS80=5\r");
}

TEST(DataSheet, OrderEncodingsAndNoResultModeCommands) {
  DataPortSettings gen = DefaultSettingsData().m_dataGen;
  gen.m_strOwnAddress = "0451234567";
  gen.m_strOwnSubAddress = "3";
  gen.m_bHlcDiscriminate = 1;
  gen.m_nAutoAnswer = 0;
  gen.m_nAnswerRings = 4;
  const DataFlowSettings flow{2, 3, 0, 1};
  const DataAtSettings at{0, 0, 0, 4};
  const DataSheetCommandParts p = DataSheetCommands(gen, flow, at);
  EXPECT_EQ(p.beforeModes,
            (CommandList{"AT&Q1\r", "AT$Z0=0451234567/3\r", "AT$P0=1\r", "AT$G0=1\r", "AT$I0=1\r",
                         "AT$H0=0\r", "AT$S0=0\r", "AT$R0\r", "ATS0=0\r", "AT&K2\r", "AT&D3\r",
                         "AT&C0\r", "AT&S2\r", "ATE0\r"}));
  EXPECT_EQ(p.afterModes, (CommandList{"ATX4\r"}));
  gen.m_nAutoAnswer = 1;
  EXPECT_EQ(DataSheetCommands(gen, flow, at).beforeModes[8], "ATS0=4\r");
}

TEST(WriteCommands, OverlongSettingIsMarkedAsNotFitting) {
  SettingsData d = DefaultSettingsData();
  EXPECT_TRUE(CommandFits(AnalogSheetCommands(d.m_tel1, d.m_tel2, d.m_common)[1]));
  d.m_tel1.m_strOwnAddress = std::string(200, '1');
  EXPECT_FALSE(CommandFits(AnalogSheetCommands(d.m_tel1, d.m_tel2, d.m_common)[1]));
}

}  // namespace
}  // namespace m2
