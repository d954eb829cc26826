// m2ctl read, reset-read, write and show as a user runs them, against m2sim.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/run_program.h"
#include "settings/settings_messages.h"
#include "settings/settings_record.h"
#include "sim_bench.h"

namespace m2 {
namespace {

using test::ProgramResult;
using test::RunProgram;
using test::SimBench;

class CliSettings : public ::testing::Test {
 protected:
  ProgramResult Ctl(const std::vector<std::string>& args, const SimBench* ta = nullptr) {
    std::vector<std::string> argv{test::BinPath("m2ctl"), "--silence-ms", "400"};
    if (ta) argv.insert(argv.end(), {"--device", ta->sim.linkPath()});
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProgram(argv, dir.path().string());
  }
  std::filesystem::path SettingsFile() const { return dir.path() / "M2SetupV100.dat"; }
  test::ScratchDir dir;
};

const nlohmann::json kTaState = {{"$Z1", "0312345678/12"},
                                 {"@A2", "0451112222/3"},
                                 {"S65", 4},
                                 {"@B", 15},
                                 {"S80", 12},
                                 {"$H1", 0},
                                 {"X", 3},
                                 {"&S", 2},
                                 {"@D1", 2},
                                 {"S0", 0},
                                 {"$X3", "0120999888"},
                                 {"&Z0", "*#1"}};

TEST_F(CliSettings, ReadThenShowJsonGivesTheTasSettings) {
  SimBench ta(kTaState);
  const ProgramResult read = Ctl({"read"}, &ta);
  ASSERT_EQ(read.exitCode, 0) << read.err;
  EXPECT_TRUE(std::filesystem::exists(SettingsFile()));
  // Connection, the seven listings, and no AT&W0: a plain read changes nothing on the TA.
  EXPECT_EQ(ta.sim.commandLog().back(), "AT$W");

  const ProgramResult show = Ctl({"show", "--json"});
  ASSERT_EQ(show.exitCode, 0) << show.err;
  const auto j = nlohmann::json::parse(show.out);
  EXPECT_EQ(j["m_tel1"]["m_strOwnAddress"], "0312345678");
  EXPECT_EQ(j["m_tel1"]["m_strOwnSubAddress"], "12");
  EXPECT_EQ(j["m_tel1"]["m_nHlcType"], 1);
  EXPECT_EQ(j["m_tel1"]["m_bHlcDiscriminate"], 1);
  EXPECT_EQ(j["m_tel2Flex"]["m_strTransferAddress"], "0451112222/3");
  EXPECT_EQ(j["m_tel1Flex"]["m_nTransferRings"], 12);
  EXPECT_EQ(j["m_tel1Flex"]["m_bTransferTalk"], 1);
  EXPECT_EQ(j["m_common"]["m_nCallWaitingType"], 1);
  EXPECT_EQ(j["m_dataGen"]["m_nAutoAnswer"], 0);
  EXPECT_EQ(j["m_dataFlow"]["m_nDrSignal"], 1);
  EXPECT_EQ(j["m_dataAt"]["m_nCodeSet"], 3);
  EXPECT_EQ(j["m_discTel1"]["m_aEntry"][3]["m_strAddress"], "0120999888");
  EXPECT_EQ(j["m_shortDialData"]["m_aEntry"][0]["m_strAddress"], "*#1");
  EXPECT_FALSE(j["m_tel2"].contains("m_bPolarityReversal"));

  const ProgramResult text = Ctl({"show"});
  ASSERT_EQ(text.exitCode, 0);
  EXPECT_NE(text.out.find("m_tel1.m_strOwnAddress = \"0312345678\"\n"), std::string::npos);

  // Written to a factory TA, the settings make it the same.
  SimBench target;
  const ProgramResult write = Ctl({"write"}, &target);
  ASSERT_EQ(write.exitCode, 0) << write.err;
  EXPECT_EQ(target.sim.commandLog().back(), "AT&W0");
  const auto stored = target.storedState();
  for (const auto& [key, value] : kTaState.items()) EXPECT_EQ(stored.at(key), value) << key;
}

TEST_F(CliSettings, WriteOnlyTheNamedSheets) {
  SimBench factory;
  ASSERT_EQ(Ctl({"reset-read"}, &factory).exitCode, 0);
  SimBench ta;
  const std::size_t before = ta.sim.commandLog().size();
  const ProgramResult r = Ctl({"write", "flex2", "analog"}, &ta);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto log = ta.sim.commandLog();
  const std::vector<std::string> sent(log.begin() + static_cast<long>(before) + 3, log.end());
  ASSERT_EQ(sent.size(), 23u + 6u + 1u);  // analog, flex2, AT&W0
  EXPECT_EQ(sent[0], "ATS65=0");
  EXPECT_EQ(sent[23], "AT@I2=0");
  EXPECT_EQ(sent[29], "AT&W0");
  EXPECT_EQ(Ctl({"write", "bogus"}, &ta).exitCode, 2);
}

TEST_F(CliSettings, WriteWithALaterSheetFailingStillRestoresTheModesAndStoresInTheTa) {
  CKB45mRXObj record;
  record.SetFilePath(SettingsFile());
  record.LoadDefaults();
  record.m_data.m_tel1.m_nHlcType = 1;             // FAX: ATS65=4
  record.m_data.m_tel1Flex.m_nHookDetectTime = 3;  // below the TA's range: refused
  ASSERT_TRUE(record.SaveFile());
  SimBench ta(nlohmann::json::object(), {"--quiet"});
  const ProgramResult r = Ctl({"write", "analog", "flex1"}, &ta);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find("analog: written"), std::string::npos);
  const auto log = ta.sim.commandLog();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(log.end() - 3, log.end()),
            (std::vector<std::string>{"AT@H1=3", "ATQ1", "AT&W0"}));
  EXPECT_EQ(ta.storedState().at("S65"), 4);
}

TEST_F(CliSettings, ResetReadOfAFactoryTaWritesA544ByteFileAndStoresInTheTa) {
  SimBench ta(nlohmann::json{{"S65", 4}, {"$X0", "1"}});
  const ProgramResult r = Ctl({"reset-read"}, &ta);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(std::filesystem::file_size(SettingsFile()), 544u);
  const auto log = ta.sim.commandLog();
  EXPECT_EQ(log[3], "AT&F");
  EXPECT_EQ(log.back(), "AT&W0");
  EXPECT_EQ(ta.storedState().at("S65"), 0);
}

TEST_F(CliSettings, FailuresExitWithTheSystemsMessage) {
  const ProgramResult show = Ctl({"show"});
  EXPECT_EQ(show.exitCode, 1);
  EXPECT_NE(show.err.find("設定保存ﾌｧｲﾙが存在しません"), std::string::npos);

  SimBench ta;
  const ProgramResult write = Ctl({"write"}, &ta);
  EXPECT_EQ(write.exitCode, 1);
  EXPECT_NE(write.err.find("設定保存ﾌｧｲﾙが存在しません"), std::string::npos);
  EXPECT_EQ(ta.sim.commandLog().size(), 0u) << "nothing sent without settings";

  const ProgramResult read =
      Ctl({"--settings", (dir.path() / "missing-dir" / "M2SetupV100.dat").string(), "read"}, &ta);
  EXPECT_EQ(read.exitCode, 1);
  EXPECT_NE(read.err.find(kSaveFailedText), std::string::npos);
}

}  // namespace
}  // namespace m2
