// m2ctl ports: the COM numbers with their devices, making the COM1 link that later commands
// open without --device, and the detail line of a port that does not exist.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "support/run_program.h"
#include "support/sim_process.h"

namespace m2 {
namespace {

using test::BinPath;
using test::RunProgram;
using test::SimProcess;
using ::testing::HasSubstr;
namespace fs = std::filesystem;

TEST(M2ctlPorts, LinkMadeByPortsIsWhatIdentifyOpens) {
  SimProcess sim({}, "sim-pty");  // no COM1 yet
  const std::string pty = fs::read_symlink(sim.linkPath()).string();
  const std::string m2ctl = BinPath("m2ctl");

  auto r = RunProgram({m2ctl, "ports", "link", "COM1", pty}, sim.dir());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "COM1 → " + pty + "\n");
  r = RunProgram({m2ctl, "identify"}, sim.dir());
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_THAT(r.out, HasSubstr("maker: ORVANTE M-2KLX QRB Corporation"));

  r = RunProgram({m2ctl, "ports", "--json"}, sim.dir());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto json = nlohmann::json::parse(r.out);
  ASSERT_EQ(json["ports"].size(), 4u);
  EXPECT_EQ(json["ports"][0]["source"], "link");
  EXPECT_EQ(json["ports"][0]["device"], pty);
  EXPECT_TRUE(json["ports"][0]["exists"]);
  EXPECT_TRUE(json["devices"].is_array());

  // A file of the user's is never replaced.
  std::ofstream(sim.file("COM3")) << "notes";
  r = RunProgram({m2ctl, "ports", "link", "COM3", pty}, sim.dir());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_FALSE(fs::is_symlink(sim.file("COM3")));
}

TEST(M2ctlPorts, MissingDeviceIsNamedAtOnce) {
  SimProcess sim;
  const std::string gone = sim.file("unplugged");
  fs::create_symlink(gone, sim.file("COM2"));
  std::ofstream(sim.file("fw.dlf")) << "firmware";
  const auto started = std::chrono::steady_clock::now();
  auto r = RunProgram({BinPath("m2ctl"), "--port", "2", "update", "fw.dlf"}, sim.dir(),
                      std::chrono::seconds(10));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
  EXPECT_THAT(r.err, HasSubstr("ﾊﾟｿｺﾝ通信ﾎﾟｰﾄがｵｰﾌﾟﾝできません\nCOM2 → " + gone +
                               ": ﾃﾞﾊﾞｲｽがありません (No such file or directory)\n"));
  r = RunProgram({BinPath("m2ctl"), "--port", "2", "identify"}, sim.dir());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_THAT(r.err, HasSubstr("COM2 → " + gone + ": ﾃﾞﾊﾞｲｽがありません"));
}

}  // namespace
}  // namespace m2
