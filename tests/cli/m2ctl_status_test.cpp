// m2ctl against the simulator in every start mode: each command works, and the TA is left
// in the result-code modes it started with.
#include <gtest/gtest.h>

#include "support/run_program.h"
#include "support/sim_process.h"

namespace m2 {
namespace {

using test::BinPath;
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

}  // namespace
}  // namespace m2
