// Connection start in each result-code mode the TA may be in, checked on the commands the
// simulator received at connect and at disconnect.
#include <gtest/gtest.h>

#include "support/ta_bench.h"

namespace m2 {
namespace {

using test::TaBench;
using Lines = std::vector<std::string>;

struct ModeCase {
  const char* name;
  std::vector<std::string> simArgs;
  Lines atConnect;
  std::vector<int> messagesAtConnect;
  Lines atLeave;
  std::vector<int> messagesAtLeave;
};

std::vector<std::string> Texts(const std::vector<int>& codes) {
  std::vector<std::string> out;
  for (int c : codes) out.push_back(TaBench::Text(c));
  return out;
}

TEST(Identify, EachStartModeIsSwitchedOnAndGivenBack) {
  const ModeCase cases[] = {
      {"verbal with codes", {}, {"ATI0", "ATI4", "ATI3"}, {}, {}, {}},
      {"quiet verbal", {"--quiet"}, {"ATI0", "ATQ0", "ATI4", "ATI3"}, {7}, {"ATQ1"}, {8}},
      {"numeric", {"--numeric"}, {"ATI0", "ATV1", "ATI4", "ATI3"}, {}, {"ATV0"}, {}},
      {"quiet numeric", {"--quiet", "--numeric"}, {"ATI0", "ATQ0", "ATV1", "ATI4", "ATI3"}, {7},
       {"ATV0", "ATQ1"}, {8}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TaBench b(c.simArgs);
    ASSERT_EQ(b.owner.ConnectTa(kDisplayMessageBox, nullptr, nullptr, 1), 1);
    EXPECT_EQ(b.owner.connected, 1);
    EXPECT_EQ(b.commandsSince(0), c.atConnect);
    EXPECT_EQ(b.dialogs.messages(), Texts(c.messagesAtConnect));
    EXPECT_EQ(b.owner.taMakerText, "ORVANTE M-2KLX QRB Corporation");
    EXPECT_EQ(b.owner.taVersionText, "M-2KLX Ver 1.20 1999/04/01");
    EXPECT_EQ(b.owner.lastErrorCode, 0);  // messages 7 and 8 leave it alone

    const std::size_t mark = b.sim.commandLog().size();
    b.dialogs.clear();
    b.owner.DisconnectTa(1);
    EXPECT_EQ(b.owner.connected, 0);
    EXPECT_EQ(b.commandsSince(mark), c.atLeave);
    EXPECT_EQ(b.dialogs.messages(), Texts(c.messagesAtLeave));
    EXPECT_EQ(b.owner.resultCodesWereOn, 1);
    EXPECT_EQ(b.owner.verboseWasOn, 1);

    // The TA is back in its own modes: a second connection finds the same ones.
    const std::size_t again = b.sim.commandLog().size();
    b.dialogs.clear();
    ASSERT_EQ(b.owner.ConnectTa(kDisplayMessageBox, nullptr, nullptr, 1), 1);
    EXPECT_EQ(b.commandsSince(again), c.atConnect);
    b.owner.DisconnectTa(1);
  }
}

TEST(Identify, OtherMakerFailsWithMessage6AndRestoresNothing) {
  TaBench b({"--quiet", "--maker", "ACME TA-1000 Corporation"});
  EXPECT_EQ(b.owner.ConnectTa(kDisplayMessageBox, nullptr, nullptr, 1), 0);
  EXPECT_EQ(b.owner.connected, 0);
  EXPECT_EQ(b.owner.lastErrorCode, 6);
  EXPECT_EQ(b.commandsSince(0), (Lines{"ATI0", "ATQ0", "ATI4"}));
  EXPECT_FALSE(b.owner.link().isPrepared());
}

TEST(Identify, OtherModelFailsWithMessage5) {
  TaBench b({"--model", "TA-1000"});
  EXPECT_EQ(b.owner.ConnectTa(kDisplayMessageBox, nullptr, nullptr, 1), 0);
  EXPECT_EQ(b.owner.lastErrorCode, 5);
  EXPECT_EQ(b.commandsSince(0), (Lines{"ATI0"}));
}

TEST(Identify, SilentTaAsksTheStartupQuestionAndNoKeepsRunningUnconnected) {
  TaBench b({"--silent-after", "0"});
  b.dialogs.setStartupAnswer(0);
  int slot = -1;
  EXPECT_EQ(b.owner.ConnectTa(kDisplayStartup, &slot, nullptr, 1), 0);
  EXPECT_EQ(slot, 0);
  EXPECT_EQ(b.owner.connected, 0);
  EXPECT_EQ(b.dialogs.startupQuestions(), Texts({4}));
  EXPECT_TRUE(b.dialogs.messages().empty());

  // The next exchange connects again, now reporting in message boxes.
  EXPECT_EQ(b.owner.AtTransact("AT\r", 0, nullptr), kAtFailed);
  EXPECT_EQ(b.dialogs.messages(), Texts({4}));
  EXPECT_EQ(b.commandsSince(0), (Lines{"ATI0", "ATI0"}));
}

TEST(Identify, ReconnectingRestoresModesOnTheOldPortFirst) {
  TaBench b({"--quiet"});
  ASSERT_EQ(b.owner.ConnectTa(kDisplayMessageBox, nullptr, nullptr, 1), 1);
  const std::size_t mark = b.sim.commandLog().size();
  ASSERT_EQ(b.owner.ConnectTa(kDisplayMessageBox, nullptr, nullptr, 1), 1);
  EXPECT_EQ(b.commandsSince(mark), (Lines{"ATQ1", "ATI0", "ATQ0", "ATI4", "ATI3"}));
  b.owner.DisconnectTa(1);
}

TEST(Identify, UnopenablePortReportsMessage2) {
  TaBench b({});
  b.owner.link().setDeviceOverride(b.sim.file("missing"));
  int slot = -1;
  b.dialogs.setStartupAnswer(1);
  EXPECT_EQ(b.owner.ConnectTa(kDisplayStartup, &slot, nullptr, 1), 0);
  EXPECT_EQ(slot, 1);
  EXPECT_EQ(b.owner.lastErrorCode, 2);
  EXPECT_FALSE(b.owner.link().isPrepared());
}

}  // namespace
}  // namespace m2
