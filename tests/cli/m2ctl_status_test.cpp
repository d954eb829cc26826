// m2ctl against the simulator in every start mode: each command works, and the TA is left
// in the result-code modes it started with.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

#include "serial/device_lock.h"
#include "settings/settings_record.h"
#include "support/run_program.h"
#include "support/sim_process.h"
#include "update/child_process.h"

namespace m2 {
namespace {

using test::BinPath;
using test::ChildProcess;
using test::RunProgram;
using test::SimProcess;

struct StartMode {
  const char* name;
  std::vector<std::string> simArgs;
  std::vector<std::string> leaveCommands;  // what the TA receives after the command's own queries
};

const StartMode kModes[] = {
    {"verbal", {}, {}},
    {"quiet", {"--quiet"}, {"ATQ1"}},
    {"numeric", {"--numeric"}, {"ATV0"}},
    {"quiet numeric", {"--quiet", "--numeric"}, {"ATV0", "ATQ1"}},
};

struct CommandCase {
  std::vector<std::string> args;
  std::vector<std::string> queries;  // the command's own commands after identification
  std::vector<std::string> expectedOutput;
};

const CommandCase kCommands[] = {
    {{"identify"}, {}, {"maker: ORVANTE M-2KLX QRB Corporation", "version: M-2KLX Ver 1.20 1999/04/01"}},
    {{"charges"}, {"AT$A", "AT$B"}, {"TEL1 last: 30円", "TEL1 total: 450円", "DTE  total: 120円"}},
    {{"clear-charges", "tel2"}, {"AT$D2", "AT$B2"}, {"TEL2 total: 0円"}},
    {{"causes"}, {"AT$C"}, {"TEL1 切断理由: 正常切断 (016)", "TEL2 切断理由: 使用できるﾁｬﾈﾙなし(Bch) (034)"}},
    {{"line"}, {"ATS112?", "ATS115?"}, {"ﾚｲﾔ1同期: UP", "ﾚｲﾔ2ﾘﾝｸ: UP", "ER: ON", "RS: OFF"}},
};

std::vector<std::string> Tail(const std::vector<std::string>& v, std::size_t n) {
  return {v.end() - static_cast<long>(std::min(n, v.size())), v.end()};
}

TEST(M2ctlStatus, EveryCommandInEveryStartMode) {
  for (const auto& mode : kModes) {
    SimProcess sim(mode.simArgs);
    for (const auto& cmd : kCommands) {
      SCOPED_TRACE(std::string(mode.name) + ": " + cmd.args[0]);
      std::vector<std::string> argv{BinPath("m2ctl"), "--port", "1", "--silence-ms", "300"};
      argv.insert(argv.end(), cmd.args.begin(), cmd.args.end());
      const std::size_t before = sim.commandLog().size();
      auto r = RunProgram(argv, sim.dir());
      EXPECT_EQ(r.exitCode, 0) << r.err;
      for (const auto& line : cmd.expectedOutput) EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
      auto log = sim.commandLog();
      std::vector<std::string> expectedTail = cmd.queries;
      expectedTail.insert(expectedTail.end(), mode.leaveCommands.begin(), mode.leaveCommands.end());
      EXPECT_EQ(Tail(log, expectedTail.size()), expectedTail);
      EXPECT_GT(log.size(), before);
    }
  }
}

TEST(M2ctlStatus, EveryCommandOpensThePortOfTheSettingsFile) {
  SimProcess sim({"--total-charge", "1=4294967296"}, "COM3");
  CKB45mRXObj record;
  record.SetFilePath(sim.file("M2SetupV100.dat"));
  record.LoadDefaults();
  record.m_data.m_pcPort.m_nComPort = 2;
  ASSERT_TRUE(record.SaveFile());
  const std::vector<std::vector<std::string>> commands{
      {"identify"}, {"at", "ATI0"}, {"charges"}, {"clear-charges", "dte"}, {"causes"}, {"line"}};
  for (const auto& args : commands) {
    std::vector<std::string> argv{BinPath("m2ctl"), "--silence-ms", "300"};
    argv.insert(argv.end(), args.begin(), args.end());
    auto r = RunProgram(argv, sim.dir());
    EXPECT_EQ(r.exitCode, 0) << args[0] << ": " << r.err;
    if (args[0] == "charges") {
      EXPECT_NE(r.out.find("TEL1 total: 4294967296円"), std::string::npos) << r.out;
    }
  }
}

TEST(M2ctlStatus, FailuresExitOneWithTheMessageAndUsageErrorsExitTwo) {
  SimProcess sim({"--model", "TA-1000"});
  auto r = RunProgram({BinPath("m2ctl"), "--silence-ms", "300", "identify"}, sim.dir());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("ﾀｰﾐﾅﾙｱﾀﾞﾌﾟﾀの装置名が違います"), std::string::npos);

  r = RunProgram({BinPath("m2ctl"), "--port", "2", "--silence-ms", "300", "line"}, sim.dir());
  EXPECT_EQ(r.exitCode, 1);  // COM2 is /dev/ttyS1 here, which is no TA
  EXPECT_FALSE(r.err.empty());

  r = RunProgram({BinPath("m2ctl"), "clear-charges", "tel3"}, sim.dir());
  EXPECT_EQ(r.exitCode, 2);
  r = RunProgram({BinPath("m2ctl"), "--port", "5", "identify"}, sim.dir());
  EXPECT_EQ(r.exitCode, 2);
}

TEST(M2ctlAt, LenientSilenceGives24WithoutMessage) {
  SimProcess sim({"--quiet"});
  auto r = RunProgram({BinPath("m2ctl"), "--silence-ms", "300", "at", "--lenient", "ATI0"}, sim.dir());
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.out.find("M-2KLX"), std::string::npos);
  EXPECT_EQ(r.err, "result: 24\n");
}

TEST(M2ctlAt, CommandThatWouldNotFitWithItsCrIsAUsageError) {
  SimProcess sim;
  const std::string longest = "AT" + std::string(124, 'Z');  // 127 bytes with its CR
  auto r = RunProgram({BinPath("m2ctl"), "--silence-ms", "300", "at", longest + "Z"}, sim.dir());
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(sim.commandLog().empty());
  r = RunProgram({BinPath("m2ctl"), "--silence-ms", "300", "at", longest, "ATI0"}, sim.dir());
  EXPECT_EQ(r.exitCode, 1);  // the TA refuses it, and gets it whole
  EXPECT_EQ(sim.commandLog(), std::vector<std::string>{longest});
}

std::string RealPath(const std::string& path) {
  char resolved[PATH_MAX];
  return ::realpath(path.c_str(), resolved) ? resolved : path;
}

// True when a program without privileges can open the device, i.e. no exclusive mode is
// left on it. Root is exempt from that mode, so as root the device is opened up to nobody
// and tried as nobody.
bool OthersCanOpen(const std::string& device) {
  if (::geteuid() == 0 && ::chmod(device.c_str(), 0666) != 0) return false;
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
    ::_exit(::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK) >= 0 ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(M2ctlInterrupt, LeavesTheTaAndThePortAsTheNormalExitDoes) {
  struct Row {
    const char* name;
    std::vector<std::string> simArgs;
    std::vector<std::string> args;
    std::size_t waitForCommands;  // the command hangs on its last one
    std::vector<int> signals;     // the second one while the leaving waits
    std::string leaving;          // what the TA receives after the interrupt
  };
  const Row rows[] = {
      // Quiet TA: ATI0 ATQ0 ATI4 ATI3, then ATS112? gets no answer.
      {"query", {"--quiet", "--silent-after", "4"}, {"--silence-ms", "1500", "line"}, 5,
       {SIGINT}, "ATQ1"},
      {"at, SIGTERM", {"--silent-after", "0"}, {"--silence-ms", "60000", "at", "ATI0"}, 1,
       {SIGTERM}, ""},
      // Numeric TA: ATI0 ATV1 ATI4 ATI3, then ATS112?; giving back ATV0 waits its silence.
      {"twice", {"--numeric", "--silent-after", "4"}, {"--silence-ms", "60000", "line"}, 5,
       {SIGINT, SIGINT}, "ATV0"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    SimProcess sim(row.simArgs);
    const std::string device = RealPath(sim.linkPath());
    const std::string lockFile =
        DeviceLock::LockDirectory() + "/" + DeviceLock::LockFileName(device);
    std::vector<std::string> argv{BinPath("m2ctl"), "--port", "1"};
    argv.insert(argv.end(), row.args.begin(), row.args.end());
    ChildProcess ctl(argv, sim.dir());
    ASSERT_TRUE(sim.waitForCommands(row.waitForCommands, std::chrono::seconds(10)));
    ctl.signal(row.signals[0]);
    if (row.signals.size() == 2) {
      ASSERT_TRUE(sim.waitForCommands(row.waitForCommands + 1, std::chrono::seconds(10)));
      ctl.signal(row.signals[1]);
    }
    EXPECT_EQ(ctl.wait(std::chrono::seconds(10)), 1) << ctl.err();
    const auto log = sim.commandLog();
    ASSERT_GE(log.size(), row.waitForCommands);
    EXPECT_EQ(log.size(), row.waitForCommands + (row.leaving.empty() ? 0 : 1));
    if (!row.leaving.empty()) {
      EXPECT_EQ(log.back(), row.leaving);
    }
    EXPECT_EQ(ctl.err().find("ﾀｲﾑｱｳﾄ"), std::string::npos) << "the interrupt ends the wait";
    EXPECT_FALSE(std::filesystem::exists(lockFile));
    EXPECT_TRUE(OthersCanOpen(device));
  }
}

}  // namespace
}  // namespace m2
