// Leaving with saving against m2sim: a TA given back its quiet mode, a TA that cannot
// store, and a settings file that cannot be written.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>

#include "serial/error_table.h"
#include "settings/config_write.h"
#include "settings/exit_with_saving.h"
#include "settings/settings_messages.h"
#include "sim_bench.h"

namespace m2 {
namespace {

using test::SimBench;
using ::testing::Contains;
using ::testing::Not;

// Connects and writes one sheet, so that leaving has the TA store its settings.
void WriteASheet(SimBench& b, CKB45mRXObj& record) {
  record.LoadDefaults();
  ASSERT_EQ(b.owner.ConnectTa(kDisplayMessageBox, nullptr, nullptr, 1), 1);
  SettingsData& d = record.m_data;
  d.m_tel2.m_nHlcType = 1;
  ASSERT_EQ(WriteAnalogSheet(b.owner, record, d.m_tel1, d.m_tel2, d.m_common), 1);
  b.dialogs.clear();
}

TEST(ExitWithSavingSim, AQuietTaStoresInSilenceAndAnErrorStillFails) {
  {
    SCOPED_TRACE("quiet, echo off");
    SimBench b({}, {"--quiet", "--no-echo"});
    CKB45mRXObj record;
    WriteASheet(b, record);
    EXPECT_EQ(ExitWithSaving(record, b.owner), kExitSaved);
    EXPECT_EQ(b.commandsSince(b.sim.commandLog().size() - 2),
              (std::vector<std::string>{"ATQ1", "AT&W0"}));
    EXPECT_THAT(b.dialogs.messages(), Not(Contains(SimBench::Text(err::kTimeout))));
    EXPECT_EQ(b.storedState().at("S66"), 4);
    EXPECT_EQ(b.owner.connected, 0);
  }
  {
    SCOPED_TRACE("cannot store");
    SimBench b;
    CKB45mRXObj record;
    WriteASheet(b, record);
    std::filesystem::remove(b.statePath());
    std::filesystem::create_directories(b.statePath() + "/taken");
    EXPECT_EQ(ExitWithSaving(record, b.owner), kExitStoreFailed);
    EXPECT_EQ(b.dialogs.messages(), std::vector<std::string>{SimBench::Text(err::kErrorStatus)});
  }
}

// The settings file cannot be written: the message, then nothing sent to the TA and the port
// kept, so that the user may try again.
TEST(ExitWithSavingSim, AFailedSaveSendsNothingAndKeepsThePort) {
  SimBench b;
  CKB45mRXObj record;
  WriteASheet(b, record);
  test::ScratchDir folder;
  record.SetFilePath(folder.path() / "M2SetupV100.dat");
  record.m_bModified = 1;
  rlimit unlimited{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &unlimited), 0);
  const bool root = geteuid() == 0;
  struct Case {
    const char* name;
    std::function<void()> fail;
    std::function<void()> undo;
  };
  const Case cases[] = {
      {"full disk",
       [&] {
         std::signal(SIGXFSZ, SIG_IGN);
         const rlimit small{300, unlimited.rlim_max};  // the file has 544 bytes
         setrlimit(RLIMIT_FSIZE, &small);
       },
       [&] {
         setrlimit(RLIMIT_FSIZE, &unlimited);
         std::signal(SIGXFSZ, SIG_DFL);
       }},
      {"read-only folder",
       [&] {
         chmod(folder.path().c_str(), 0555);
         if (root) {
           ASSERT_EQ(seteuid(65534), 0);  // root is exempt from the mode
         }
       },
       [&] {
         if (root) {
           ASSERT_EQ(seteuid(0), 0);
         }
         chmod(folder.path().c_str(), 0755);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::size_t sent = b.sim.commandLog().size();
    b.dialogs.clear();
    c.fail();
    const ExitSavingResult left = ExitWithSaving(record, b.owner);
    c.undo();
    EXPECT_EQ(left, kExitSaveFailed);
    EXPECT_EQ(b.dialogs.messages(), std::vector<std::string>{std::string(kSaveFailedText)});
    EXPECT_TRUE(b.commandsSince(sent).empty());
    EXPECT_EQ(b.owner.connected, 1);
    EXPECT_FALSE(std::filesystem::exists(record.FilePath()));
  }
  EXPECT_EQ(ExitWithSaving(record, b.owner), kExitSaved);  // once there is room
  EXPECT_TRUE(std::filesystem::exists(record.FilePath()));
  EXPECT_EQ(b.sim.commandLog().back(), "AT&W0");
}

}  // namespace
}  // namespace m2
