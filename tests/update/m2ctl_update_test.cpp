// m2ctl update end to end: the real program against m2sim --xmodem over a pseudo-terminal.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <fstream>

#include "child_process.h"
#include "support/run_program.h"
#include "support/sim_process.h"
#include "test_support.h"

namespace m2 {
namespace {

using namespace std::chrono_literals;
using test::BinPath;
using test::Bytes;
using test::ChildProcess;
using test::RunProgram;
using test::SimProcess;

Bytes ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}
void WriteAll(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
// The file as a receiver stores it: whole 1024-byte blocks, the tail padded with 0x00.
Bytes Padded(Bytes bytes) {
  bytes.resize((bytes.size() + 1023) / 1024 * 1024, 0);
  return bytes;
}

struct UpdateRun {
  test::ProgramResult result;
  Bytes received;
  Bytes sent;
};

bool Has(const std::vector<std::string>& args, const std::string& option) {
  return std::find(args.begin(), args.end(), option) != args.end();
}

// One update of a file of `size` bytes against a simulator started with simArgs, which
// stores what it receives.
UpdateRun Update(std::size_t size, std::vector<std::string> simArgs,
                 std::vector<std::string> ctlArgs = {}) {
  test::TempFile scratch(Bytes{});
  const std::string received = (scratch.dir() / "received.bin").string();
  std::vector<std::string> args{"--xmodem", "--start-interval-ms", "100", "--out", received};
  if (!Has(simArgs, "--verdict-delay-ms")) args.insert(args.end(), {"--verdict-delay-ms", "50"});
  args.insert(args.end(), simArgs.begin(), simArgs.end());
  SimProcess sim(args);
  UpdateRun run;
  run.sent = test::Pattern(size, static_cast<unsigned>(size));
  WriteAll(sim.file("image.dlf"), run.sent);
  std::vector<std::string> argv{BinPath("m2ctl"), "--port", "1", "update", "image.dlf"};
  argv.insert(argv.end(), ctlArgs.begin(), ctlArgs.end());
  run.result = RunProgram(argv, sim.dir(), 60s);
  run.received = ReadAll(received);
  return run;
}

TEST(M2ctlUpdate, SendsTheFileAndSucceedsOnTheVerdict) {
  struct Row {
    std::size_t size;
    std::vector<std::string> simArgs;
  };
  const std::vector<Row> rows = {
      {0, {}},
      {1, {}},
      {1024, {"--checksum"}},
      {1025, {}},
      {300 * 1024 + 7, {}},  // block numbers wrap
      {5000, {"--nak-block", "2"}},
      {5000, {"--nak-eot"}},
      {5000, {"--split-verdict"}},
      {5000, {"--verdict", "Write error\rFROM update"}},
      {5000, {"--verdict-delay-ms", "0"}},  // the verdict may share a burst with the ACK of EOT
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.size << " " << (row.simArgs.empty() ? "" : row.simArgs[0]));
    const UpdateRun run = Update(row.size, row.simArgs);
    EXPECT_EQ(run.result.exitCode, 0) << run.result.err;
    EXPECT_NE(run.result.err.find("ﾊﾞｰｼﾞｮﾝｱｯﾌﾟは完了しました"), std::string::npos) << run.result.err;
    EXPECT_NE(run.result.err.find("100%"), std::string::npos);
    EXPECT_EQ(run.received, Padded(run.sent));
  }
}

TEST(M2ctlUpdate, EachFailureEndsInItsMessage) {
  struct Row {
    std::vector<std::string> simArgs;
    std::string message;
  };
  const std::vector<Row> rows = {
      {{"--cancel-at", "2"}, "ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙの転送を取り消されました"},
      {{"--verdict", "Write error"}, "FROMへの書き込み失敗です"},
      {{"--verdict", "CRC verify error"}, "ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙのCRCｴﾗｰです"},
      {{"--verdict", "Flash busy", "--split-verdict"}, "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟに失敗しました"},
      {{"--stall-at", "2"}, "XMODEMの通信で受信待ちﾀｲﾏがﾀｲﾑｱｳﾄしました"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.simArgs[0] + " " + row.simArgs[1]);
    const UpdateRun run = Update(5000, row.simArgs);
    EXPECT_EQ(run.result.exitCode, 1) << run.result.err;
    EXPECT_NE(run.result.err.find(row.message), std::string::npos) << run.result.err;
  }
}

TEST(M2ctlUpdate, NoVerdictSucceedsOnTheAckOfEot) {
  const UpdateRun run = Update(3000, {"--no-verdict"}, {"--no-verdict"});
  EXPECT_EQ(run.result.exitCode, 0) << run.result.err;
  EXPECT_EQ(run.received, Padded(run.sent));
}

TEST(M2ctlUpdate, StartFailuresAndUsage) {
  SimProcess sim({"--xmodem"});
  auto r = RunProgram({BinPath("m2ctl"), "--port", "1", "update", "missing.dlf"}, sim.dir());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("指定されたﾌｧｲﾙが見つかりません"), std::string::npos) << r.err;
  WriteAll(sim.file("image.dlf"), Bytes(10, 1));
  r = RunProgram({BinPath("m2ctl"), "--device", sim.file("nonexistent"), "update", "image.dlf"}, sim.dir());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("ﾊﾟｿｺﾝ通信ﾎﾟｰﾄがｵｰﾌﾟﾝできません"), std::string::npos) << r.err;
  // A FIFO would block an ordinary open until a writer came.
  ASSERT_EQ(::mkfifo(sim.file("fifo.dlf").c_str(), 0600), 0);
  r = RunProgram({BinPath("m2ctl"), "--port", "1", "update", "fifo.dlf"}, sim.dir(), 5s);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("指定されたﾌｧｲﾙがｵｰﾌﾟﾝできません"), std::string::npos) << r.err;
  r = RunProgram({BinPath("m2ctl"), "update"}, sim.dir());
  EXPECT_EQ(r.exitCode, 2);
  r = RunProgram({BinPath("m2ctl"), "--speed", "1200", "update", "image.dlf"}, sim.dir());
  EXPECT_EQ(r.exitCode, 2);
}

// Ctrl-C in each phase: the dialog's abort button; a second one, or SIGTERM, is Esc.
TEST(M2ctlUpdate, InterruptActsAsTheAbortButton) {
  struct Row {
    const char* name;
    std::vector<std::string> simArgs;
    std::string waitFor;
    std::vector<int> signals;
    std::string message;
  };
  const std::vector<Row> rows = {
      {"waiting", {"--no-start"}, "ｵﾙﾊﾞﾝﾃM-2KLXからの応答を待っています", {SIGINT},
       "ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙの転送を中止しました"},
      {"sending", {"--ack-delay-ms", "20"}, "ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙを転送しています", {SIGINT},
       "ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙの転送を中止しました"},
      {"writing flash", {"--verdict-delay-ms", "60000"}, "FROMに書き込みしています", {SIGINT},
       "FROM書き込み待ちを中止しました"},
      {"writing flash, SIGTERM", {"--verdict-delay-ms", "60000"}, "FROMに書き込みしています",
       {SIGTERM}, "FROM書き込み待ちを中止しました"},
      {"stalled, twice", {"--stall-at", "3"}, "ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙを転送しています", {SIGINT, SIGINT},
       "ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙの転送を中止しました"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<std::string> simArgs{"--xmodem", "--start-interval-ms", "100"};
    simArgs.insert(simArgs.end(), row.simArgs.begin(), row.simArgs.end());
    SimProcess sim(simArgs);
    WriteAll(sim.file("image.dlf"), test::Pattern(400 * 1024));
    ChildProcess ctl({BinPath("m2ctl"), "--port", "1", "update", "image.dlf"}, sim.dir());
    ASSERT_TRUE(ctl.waitForText(row.waitFor)) << ctl.err();
    const auto pressed = std::chrono::steady_clock::now();
    ctl.signal(row.signals[0]);
    if (row.signals.size() == 2) {  // pending signals merge: the second only after the first is seen
      ASSERT_TRUE(ctl.waitForText("Ctrl-C again")) << ctl.err();
      ctl.signal(row.signals[1]);
    }
    EXPECT_EQ(ctl.wait(), 1) << ctl.err();
    EXPECT_LT(std::chrono::steady_clock::now() - pressed, 5s) << "ends without waiting for a timer";
    EXPECT_NE(ctl.err().find(row.message), std::string::npos) << ctl.err();
  }
}

}  // namespace
}  // namespace m2
