// Writing sheets to m2sim, checked on the simulator's command log and on the state it
// stores; and the round trip from one simulator to another.
#include <gtest/gtest.h>

#include "serial/error_table.h"
#include "settings/config_read.h"
#include "settings/config_write.h"
#include "settings/write_commands.h"
#include "sim_bench.h"

namespace m2 {
namespace {

using test::SimBench;

class ConfigWriteSim : public ::testing::Test {
 protected:
  void SetUp() override {
    record.LoadDefaults();
    ASSERT_EQ(b.owner.ConnectTa(kDisplayMessageBox, nullptr, nullptr, 1), 1);
    start = b.sim.commandLog().size();
  }
  std::vector<std::string> Sent() const { return b.commandsSince(start); }

  SimBench b;
  CKB45mRXObj record;
  std::size_t start = 0;
};

TEST_F(ConfigWriteSim, AnalogSheetSendsAllTwentyThreeCommandsInOrder) {
  SettingsData& d = record.m_data;
  d.m_tel1.m_nHlcType = 1;
  d.m_tel1.m_strOwnAddress = "0312345678";
  d.m_tel1.m_strOwnSubAddress = "5";
  d.m_tel2.m_nHlcType = 0;
  d.m_common = {1, 1, 1, 1, 1, 2};
  ASSERT_EQ(WriteAnalogSheet(b.owner, record, d.m_tel1, d.m_tel2, d.m_common), 1);
  EXPECT_EQ(Sent(), (std::vector<std::string>{"ATS65=4", "AT$Z1=0312345678/5",
                                              "AT$P1=1", "AT@P1=0",
                                              "AT$G1=1", "AT$I1=1",
                                              "AT$S1=0", "AT$H1=1",
                                              "AT@C1=5", "AT@T1=0",
                                              "AT@R1=0", "ATS66=1",
                                              "AT$Z2=",  "AT$P2=1",
                                              "AT$G2=1", "AT$I2=1",
                                              "AT$S2=0", "AT$H2=1",
                                              "AT@C2=5", "AT@T2=0",
                                              "AT@R2=0", "AT@B15",
                                              "AT@G2"}));
  EXPECT_EQ(record.m_bTaChanged, 1);
  EXPECT_TRUE(b.dialogs.messages().empty());
}

TEST_F(ConfigWriteSim, FailingOwnAddressStopsBeforeTel2) {
  SettingsData& d = record.m_data;
  d.m_tel1.m_strOwnAddress = "03-1234";  // the page lets "-" be typed; the TA refuses it
  EXPECT_EQ(WriteAnalogSheet(b.owner, record, d.m_tel1, d.m_tel2, d.m_common), 0);
  EXPECT_EQ(Sent(), (std::vector<std::string>{"ATS65=0", "AT$Z1=03-1234"}));
  ASSERT_EQ(b.dialogs.messages().size(), 1u);
  EXPECT_EQ(b.dialogs.messages()[0], ErrorMessageText(err::kErrorStatus));
  EXPECT_EQ(record.m_bTaChanged, 0);
}

TEST_F(ConfigWriteSim, OverlongSettingIsRefusedBeforeSending) {
  SettingsData& d = record.m_data;
  d.m_tel1Flex.m_strTransferAddress = std::string(150, '1');  // only a damaged file has this
  EXPECT_EQ(WriteFlexSheet(b.owner, record, 1, d.m_tel1Flex), 0);
  EXPECT_EQ(Sent(), (std::vector<std::string>{"AT@I1=0", "AT@F1=5", "AT@H1=10"}));
  ASSERT_EQ(b.dialogs.messages().size(), 1u);
  EXPECT_EQ(b.dialogs.messages()[0], ErrorMessageText(kCommandTooLong));
  EXPECT_EQ(record.m_bTaChanged, 0);
  // The TA is still in step: the next command gets its own answer.
  EXPECT_EQ(WriteFlexSheet(b.owner, record, 1, DefaultSettingsData().m_tel1Flex), 1);
}

TEST_F(ConfigWriteSim, DamagedSettingIsRefusedBeforeAnythingOfItIsSent) {
  struct Row {
    const char* what;
    void (*damage)(SettingsData&);
    std::size_t sentBefore;  // commands of the sheet sent before the damaged one
  };
  const Row rows[] = {
      {"CR in TEL2's address", [](SettingsData& d) { d.m_tel2.m_strOwnAddress = "1\rAT&F"; }, 12},
      {"DEL in a sub-address", [](SettingsData& d) { d.m_tel1.m_strOwnSubAddress = "\x7F"; }, 1},
      {"call waiting 2", [](SettingsData& d) { d.m_common.m_bCallWaiting = 2; }, 21},
      {"negative dial timer", [](SettingsData& d) { d.m_tel2.m_nDialDigitTimer = -1; }, 18},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    SettingsData d = DefaultSettingsData();
    r.damage(d);
    const SettingsData good = DefaultSettingsData();
    const auto all = AnalogSheetCommands(good.m_tel1, good.m_tel2, good.m_common);
    b.dialogs.clear();
    const std::size_t before = b.sim.commandLog().size();
    EXPECT_EQ(WriteAnalogSheet(b.owner, record, d.m_tel1, d.m_tel2, d.m_common), 0);
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < r.sentBefore; ++i)
      expected.push_back(all[i].substr(0, all[i].size() - 1));  // the log has no CR
    EXPECT_EQ(b.commandsSince(before), expected);
    EXPECT_EQ(b.dialogs.messages(), std::vector<std::string>{std::string(ErrorMessageText(9))});
    EXPECT_EQ(record.m_bTaChanged, 0);
  }
}

TEST_F(ConfigWriteSim, DataSheetSendsNoResultModeCommandAndHandsTheModesToTheLink) {
  SettingsData& d = record.m_data;
  d.m_dataAt = {1, 0, 0, 2};
  ASSERT_EQ(WriteDataSheet(b.owner, record, d.m_dataGen, d.m_dataFlow, d.m_dataAt), 1);
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 15u);
  EXPECT_EQ(sent[13], "ATE1");
  EXPECT_EQ(sent[14], "ATX2");
  for (const auto& c : sent) {
    EXPECT_FALSE(c.starts_with("ATV")) << c;
    EXPECT_FALSE(c.starts_with("ATQ")) << c;
  }
  EXPECT_EQ(b.owner.resultCodesWereOn, 0);
  EXPECT_EQ(b.owner.verboseWasOn, 0);
  // They reach the TA when the connection ends: ATV0 first, then ATQ1.
  const std::size_t before = b.sim.commandLog().size();
  b.owner.DisconnectTa(1);
  EXPECT_EQ(b.commandsSince(before), (std::vector<std::string>{"ATV0", "ATQ1"}));
}

TEST_F(ConfigWriteSim, NumberSheetSendsFortyCommandsWithClearingForms) {
  SettingsData& d = record.m_data;
  d.m_discTel1.m_aEntry[2] = {1, "name", "0312345678", "7"};
  d.m_discData.m_aEntry[9] = {1, "", "#1", ""};
  d.m_discData.m_aEntry[3] = {0, "", "999", ""};  // unused: cleared whatever it holds
  d.m_shortDialData.m_aEntry[5] = {1, "name only", "", ""};
  ASSERT_EQ(WriteNumberSheet(b.owner, record,
                             {d.m_discTel1, d.m_discTel2, d.m_shortDialData, d.m_discData}),
            1);
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 40u);
  const char* lists[] = {"AT$X", "AT$Y", "AT&Z", "AT$W"};
  for (std::size_t i = 0; i < 40; ++i)
    EXPECT_TRUE(sent[i].starts_with(lists[i / 10] + std::to_string(i % 10) + "=")) << sent[i];
  EXPECT_EQ(sent[0], "AT$X0=");
  EXPECT_EQ(sent[2], "AT$X2=0312345678/7");
  EXPECT_EQ(sent[10], "AT$Y0=");
  EXPECT_EQ(sent[20], "AT&Z0=");
  EXPECT_EQ(sent[25], "AT&Z5=");
  EXPECT_EQ(sent[33], "AT$W3=");
  EXPECT_EQ(sent[39], "AT$W9=#1");
  EXPECT_EQ(record.m_bTaChanged, 1);
}

TEST_F(ConfigWriteSim, StoreInTaMakesTheTaKeepItsSettings) {
  SettingsData& d = record.m_data;
  d.m_tel2.m_nHlcType = 1;
  ASSERT_EQ(WriteAnalogSheet(b.owner, record, d.m_tel1, d.m_tel2, d.m_common), 1);
  StoreInTa(b.owner);
  EXPECT_EQ(b.sim.commandLog().back(), "AT&W0");
  EXPECT_EQ(b.storedState().at("S66"), 4);
}

TEST(ConfigRoundTrip, NonDefaultTaCopiedToAFactoryTaLeavesBothInTheSameState) {
  const nlohmann::json state = {{"$Z0", "0451234567/1"},
                                {"$Z1", "0312345678/12"},
                                {"$Z2", "0399999999"},
                                {"@A1", "0120111222/9"},
                                {"@A2", "0120"},
                                {"S65", 1},
                                {"S66", 4},
                                {"@P1", 1},
                                {"$H1", 0},
                                {"$H0", 0},
                                {"$S2", 1},
                                {"$P2", 0},
                                {"$I1", 0},
                                {"@C1", 59},
                                {"@T2", 3},
                                {"@R1", 2},
                                {"@I2", 1},
                                {"@F1", 9},
                                {"@H2", 5},
                                {"@D1", 3},
                                {"@D2", 1},
                                {"S80", 9},
                                {"S81", 0},
                                {"@B", 13},
                                {"@G", 1},
                                {"&Q", 0},
                                {"$G0", 0},
                                {"$R", 1},
                                {"S0", 10},
                                {"&K", 0},
                                {"&D", 1},
                                {"&C", 0},
                                {"&S", 2},
                                {"E", 0},
                                {"X", 0},
                                {"$X0", "0311112222/5"},
                                {"$X9", "1"},
                                {"$Y3", "*#"},
                                {"&Z0", "0120"},
                                {"&Z9", "2"},
                                {"$W5", "99/88"}};
  SimBench source(state);
  SimBench target;
  CKB45mRXObj record;
  record.LoadDefaults();
  ASSERT_EQ(source.owner.ConnectTa(kDisplayMessageBox, nullptr, nullptr, 1), 1);
  AtSession session;
  ASSERT_EQ(ReadConfiguration(record, source.owner, session, kReadPlain), 1);
  StoreInTa(source.owner);  // only to let the source show its state

  ASSERT_EQ(target.owner.ConnectTa(kDisplayMessageBox, nullptr, nullptr, 1), 1);
  SettingsData& d = record.m_data;
  ASSERT_EQ(WriteAnalogSheet(target.owner, record, d.m_tel1, d.m_tel2, d.m_common), 1);
  ASSERT_EQ(WriteFlexSheet(target.owner, record, 1, d.m_tel1Flex), 1);
  ASSERT_EQ(WriteFlexSheet(target.owner, record, 2, d.m_tel2Flex), 1);
  ASSERT_EQ(WriteDataSheet(target.owner, record, d.m_dataGen, d.m_dataFlow, d.m_dataAt), 1);
  ASSERT_EQ(WriteNumberSheet(target.owner, record,
                             {d.m_discTel1, d.m_discTel2, d.m_shortDialData, d.m_discData}),
            1);
  target.owner.RestoreResultModes();
  StoreInTa(target.owner);

  const nlohmann::json a = source.storedState(), b = target.storedState();
  EXPECT_EQ(a, b) << "source " << a.dump() << "\ntarget " << b.dump();
  EXPECT_NE(b.at("@B"), 0);
  EXPECT_EQ(b.at("$W5"), "99/88");
}

}  // namespace
}  // namespace m2
