// Reading the configuration from m2sim over a real pseudo-terminal.
#include <gtest/gtest.h>

#include "serial/error_table.h"
#include "settings/config_read.h"
#include "sim_bench.h"

namespace m2 {
namespace {

using test::SimBench;

const nlohmann::json kNonDefault = {
    {"$Z0", "0451234567"},
    {"$Z1", "0312345678/12"},
    {"$Z2", ""},
    {"@A1", "0120111222/9"},
    {"S65", 4},
    {"S66", 1},
    {"@P1", 1},
    {"$H1", 0},
    {"@C2", 30},
    {"@R1", 3},
    {"@D1", 2},
    {"@D2", 1},
    {"S80", 12},
    {"S81", 0},
    {"@F2", 0},
    {"@H1", 20},
    {"@B", 16},
    {"@G", 2},
    {"&Q", 0},
    {"$G0", 0},
    {"$R", 1},
    {"S0", 0},
    {"&K", 2},
    {"&D", 3},
    {"&C", 0},
    {"&S", 2},
    {"E", 0},
    {"X", 4},
    {"$X0", "0311112222/5"},
    {"$Y9", "*#"},
    {"&Z4", "0120"},
    {"$W2", "99"},
};

class ConfigReadSim : public ::testing::Test {
 protected:
  void Connect(SimBench& b) {
    ASSERT_EQ(b.owner.ConnectTa(kDisplayMessageBox, nullptr, nullptr, 1), 1);
  }
  CKB45mRXObj record;
  AtSession session;
};

TEST_F(ConfigReadSim, FactoryTaGivesTheDefaultsAndKeepsPcOnlyValues) {
  SimBench b;
  Connect(b);
  record.LoadDefaults();
  record.m_data.m_pcPort = {5, 3, 1};
  record.m_data.m_discTel2.m_aEntry[6].m_strName = "\xB6\xB2\xBC\xAC";  // name only, on the PC
  ASSERT_EQ(ReadConfiguration(record, b.owner, session, kReadPlain), 1);
  SettingsData expected = DefaultSettingsData();
  expected.m_pcPort = {5, 3, 1};
  expected.m_discTel2.m_aEntry[6] = {1, "\xB6\xB2\xBC\xAC", "", ""};
  expected.m_discTel2.m_nCount = 1;
  EXPECT_EQ(record.m_data, expected);
  EXPECT_EQ(record.m_bModified, 0);  // the caller sets it
  EXPECT_EQ(record.m_bTaChanged, 0);
  EXPECT_TRUE(b.dialogs.messages().empty());
  const auto sent = b.commandsSince(3);  // after ATI0, ATI4, ATI3
  EXPECT_EQ(sent,
            (std::vector<std::string>{"AT$Z", "AT@A", "AT&V0", "AT$X", "AT$Y", "AT&Z", "AT$W"}));
}

TEST_F(ConfigReadSim, NonDefaultTaIsReadIntoEveryGroup) {
  SimBench b(kNonDefault);
  Connect(b);
  record.LoadDefaults();
  ASSERT_EQ(ReadConfiguration(record, b.owner, session, kReadPlain), 1);
  const SettingsData& d = record.m_data;
  EXPECT_EQ(d.m_dataGen.m_strOwnAddress, "0451234567");
  EXPECT_EQ(d.m_tel1.m_strOwnAddress, "0312345678");
  EXPECT_EQ(d.m_tel1.m_strOwnSubAddress, "12");
  EXPECT_EQ(d.m_tel1Flex.m_strTransferAddress, "0120111222/9");
  EXPECT_EQ(d.m_tel1.m_nHlcType, 1);  // S65:04H
  EXPECT_EQ(d.m_tel2.m_nHlcType, 0);  // S66:01H
  EXPECT_EQ(d.m_tel1.m_bPolarityReversal, 1);
  EXPECT_EQ(d.m_tel1.m_bHlcDiscriminate, 1);  // $H1=0
  EXPECT_EQ(d.m_tel2.m_nDialDigitTimer, 30);
  EXPECT_EQ(d.m_tel1.m_nReceivePad, 3);
  EXPECT_EQ(d.m_tel1Flex, (FlexphoneSettings{0, 5, 20, "0120111222/9", 1, 0, 1, 12}));
  EXPECT_EQ(d.m_tel2Flex, (FlexphoneSettings{0, 0, 10, "", 0, 1, 0, 1}));
  EXPECT_EQ(d.m_common, (PortCommonSettings{1, 0, 0, 0, 0, 2}));
  EXPECT_EQ(d.m_dataGen.m_nProtocol, 0);
  EXPECT_EQ(d.m_dataGen.m_bGlobalIncoming, 0);
  EXPECT_EQ(d.m_dataGen.m_bCallbackIncoming, 1);
  EXPECT_EQ(d.m_dataGen.m_nAutoAnswer, 0);
  EXPECT_EQ(d.m_dataGen.m_nAnswerRings, 1);
  EXPECT_EQ(d.m_dataFlow, (DataFlowSettings{2, 3, 0, 1}));
  EXPECT_EQ(d.m_dataAt, (DataAtSettings{0, 1, 1, 4}));
  EXPECT_EQ(d.m_discTel1.m_aEntry[0], (NumberEntry{1, "", "0311112222", "5"}));
  EXPECT_EQ(d.m_discTel1.m_nCount, 1);
  EXPECT_EQ(d.m_discTel2.m_aEntry[9], (NumberEntry{1, "", "*#", ""}));
  EXPECT_EQ(d.m_shortDialData.m_aEntry[4].m_strAddress, "0120");
  EXPECT_EQ(d.m_discData.m_aEntry[2].m_strAddress, "99");
}

TEST_F(ConfigReadSim, PlainReadTakesResultModesFromTheConnection) {
  // A TA with result codes off and numeric codes: the connection switches both on for
  // itself, and the read reports the TA's own choice.
  SimBench b({}, {"--quiet", "--numeric"});
  Connect(b);
  ASSERT_EQ(b.owner.resultCodesWereOn, 0);
  record.LoadDefaults();
  ASSERT_EQ(ReadConfiguration(record, b.owner, session, kReadPlain), 1);
  EXPECT_EQ(record.m_data.m_dataAt.m_bResultCodes, 0);
  EXPECT_EQ(record.m_data.m_dataAt.m_nResultFormat, 0);
  EXPECT_EQ(b.owner.resultCodesWereOn, 0);
  EXPECT_EQ(b.owner.verboseWasOn, 0);
}

TEST_F(ConfigReadSim, ResetAndReadTakesTheFactoryStateAndSetsTheFlags) {
  for (int fileLoaded : {0, 1}) {
    SimBench b(kNonDefault, {"--quiet"});
    Connect(b);
    record.LoadDefaults();
    record.m_bModified = 1 - fileLoaded;
    record.m_bTaChanged = 0;
    record.m_data.m_tel1.m_nHlcType = 0;
    record.m_data.m_discData.m_aEntry[1].m_strName = "name";
    const std::size_t before = b.sim.commandLog().size();
    ASSERT_EQ(ResetAndRead(record, b.owner, session, fileLoaded), 1);
    EXPECT_EQ(b.commandsSince(before).front(), "AT&F");
    SettingsData expected = DefaultSettingsData();
    EXPECT_EQ(record.m_data, expected) << "names are emptied too";
    EXPECT_EQ(record.m_bTaChanged, 1);
    EXPECT_EQ(record.m_bModified, fileLoaded);
    // The factory state has result codes on: nothing to give back any more.
    EXPECT_EQ(b.owner.resultCodesWereOn, 1);
    EXPECT_EQ(b.owner.verboseWasOn, 1);
  }
}

TEST_F(ConfigReadSim, FailureLeavesAPartlyRefreshedRecordAndTheFlags) {
  // Identification takes three commands; the TA falls silent at the fourth listing.
  SimBench b(kNonDefault, {"--silent-after", "6"});
  Connect(b);
  record.LoadDefaults();
  record.m_bModified = 0;
  record.m_bTaChanged = 0;
  ASSERT_EQ(ReadConfiguration(record, b.owner, session, kReadPlain), 0);
  ASSERT_EQ(b.dialogs.messages().size(), 1u);
  EXPECT_EQ(b.dialogs.messages()[0], ErrorMessageText(err::kTimeout));
  EXPECT_EQ(record.m_data.m_tel1.m_strOwnAddress, "0312345678");  // AT$Z
  EXPECT_EQ(record.m_data.m_common.m_bCallWaiting, 1);            // AT&V0
  EXPECT_EQ(record.m_data.m_discTel1, NumberList{});              // AT$X never answered
  EXPECT_EQ(record.m_bModified, 0);
  EXPECT_EQ(record.m_bTaChanged, 0);

  SimBench c;
  Connect(c);
  record.m_bTaChanged = 0;
  // An unanswered AT&F ends the reset before any read.
  c.sim.stop();
  EXPECT_EQ(ResetAndRead(record, c.owner, session, 1), 0);
  EXPECT_EQ(record.m_bTaChanged, 0);
}

}  // namespace
}  // namespace m2
