// The simulator's settings side, driven without a pseudo-terminal: which set commands it
// takes, what it refuses, and its stored state.
#include <gtest/gtest.h>

#include "settings/listing_parser.h"
#include "ta_settings.h"
#include "support/scratch_dir.h"

namespace m2 {
namespace {

using sim::TaModel;
using sim::TaSettings;

class SimSettings : public ::testing::Test {
 protected:
  SimSettings() {
    ta.echo = false;
    sim::RegisterSettingsCommands(ta, settings, statePath);
  }
  std::string Send(const std::string& line) { return ta.handleLine(line); }

  test::ScratchDir dir;
  std::string statePath = (dir.path() / "state.json").string();
  TaModel ta;
  TaSettings settings = TaSettings::Factory();
};

TEST_F(SimSettings, TakesEveryWriteCommandAndRefusesMalformedOnes) {
  const char* accepted[] = {
      "ATS65=4",  "ATS66=0",      "ATS80=12", "ATS81=0", "ATS0=255", "AT$Z0=0312345678/12",
      "AT$Z2=",   "AT@A1=0120/5", "AT$P0=0",  "AT@P1=1", "AT$H2=0",  "AT@C1=59",
      "AT@H2=20", "AT@D1=3",      "AT@B24",   "AT@G2",   "AT&Q0",    "AT$R1",
      "AT&K2",    "AT&D3",        "AT&C0",    "AT&S2",   "ATX4",     "AT$X9=*#",
      "AT$Y0=1",  "AT&Z5=2",      "AT$W3=",   "AT&W0"};
  for (const char* c : accepted) EXPECT_EQ(Send(c), "\r\nOK\r\n") << c;
  const char* refused[] = {"ATS65=256",
                           "ATS1=1",
                           "ATS65",
                           "AT$P3=1",
                           "AT@P2=1",
                           "AT@C1=0",
                           "AT@C0=5",
                           "AT$P1=2",
                           "AT$P1=",
                           "AT@B",
                           "AT@B32",
                           "ATX5",
                           "AT&Qx",
                           "AT$Z3=1",
                           "AT$Z1=03-1234",
                           "AT$Z1=1/12345678901234567890",
                           "AT@A0=1",
                           "AT$X1="
                           "123456789012345678901234567890123",
                           "AT@A1=123456789012345678901234567890/12",
                           "AT&V1",
                           "AT&W1"};
  for (const char* c : refused) EXPECT_EQ(Send(c), "\r\nERROR\r\n") << c;
}

TEST_F(SimSettings, ListingsShowWhatWasSet) {
  Send("ATS65=4");
  Send("AT$Z1=0312345678/12");
  Send("AT@B16");
  const std::string listing = Send("AT&V0");
  EXPECT_NE(listing.find("S65:04H"), std::string::npos);
  EXPECT_NE(listing.find("@B16 "), std::string::npos);
  EXPECT_EQ(Send("AT$Z1"), "\r\n1:0312345678/12\r\n\r\nOK\r\n");
  EXPECT_EQ(Send("AT@A"), "\r\n1:\r\n2:\r\n\r\nOK\r\n");

  // What the program reads from the listing is what was set.
  SettingsData d = DefaultSettingsData();
  ResultModes modes;
  ASSERT_TRUE(ParseSettingsListing(listing, d, kReadAfterReset, modes));
  EXPECT_EQ(d.m_tel1.m_nHlcType, 1);
  EXPECT_EQ(d.m_common.m_bCallWaiting, 1);
  ASSERT_TRUE(ParseOwnAddresses(Send("AT$Z"), d));
  EXPECT_EQ(d.m_tel1.m_strOwnSubAddress, "12");
  ASSERT_TRUE(ParseNumberList(Send("AT&Z"), d.m_shortDialData, kReadAfterReset));
}

TEST_F(SimSettings, FactoryResetAndStoredState) {
  Send("ATX0");
  Send("AT$W3=99");
  Send("ATE1");
  Send("AT&W0");
  Send("ATS65=1");
  sim::TaModel other;
  TaSettings restored = TaSettings::Factory();
  sim::LoadStateFile(statePath, other, restored);
  EXPECT_EQ(restored.values.at("X"), 0);
  EXPECT_EQ(restored.texts.at("$W3"), "99");
  EXPECT_EQ(restored.values.at("S65"), 0) << "set after the store";
  EXPECT_TRUE(other.echo);

  ta.quiet = true;
  ta.verbose = false;
  Send("AT&F");
  EXPECT_EQ(settings.values, TaSettings::Factory().values);
  EXPECT_EQ(settings.texts, TaSettings::Factory().texts);
  EXPECT_FALSE(ta.quiet);
  EXPECT_TRUE(ta.verbose);
}

TEST_F(SimSettings, StateWithUnknownKeysOrWrongTypesIsRefused) {
  EXPECT_THROW(sim::ApplyState({{"S99", 1}}, ta, settings), std::runtime_error);
  EXPECT_THROW(sim::ApplyState({{"$Z1", 5}}, ta, settings), std::runtime_error);
  EXPECT_THROW(sim::ApplyState({{"@B", "1"}}, ta, settings), std::runtime_error);
  sim::ApplyState({{"@B", 7}, {"Q", 1}}, ta, settings);
  EXPECT_EQ(settings.values.at("@B"), 7);
  EXPECT_TRUE(ta.quiet);
}

}  // namespace
}  // namespace m2
