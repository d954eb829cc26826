// The programs as a user's desktop runs them: installed with the build's own install rules
// into a scratch DESTDIR, started by their desktop entries' Exec lines with a scratch HOME on
// the offscreen platform, against m2sim, their windows worked by the m2drive plugin.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/scratch_dir.h"
#include "support/sim_process.h"

namespace fs = std::filesystem;
using m2::test::ScratchDir;
using m2::test::SimProcess;

namespace {

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

struct DriveResult {
  int exitCode = -1;
  std::string log;  // the driver's lines, then the program's stderr
};

}  // namespace

class InstalledPrograms : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_root = std::make_unique<ScratchDir>();
    ::setenv("DESTDIR", (s_root->path() / "dest").c_str(), 1);
    const auto install =
        m2::test::RunProgram({M2_CMAKE, "--install", M2_BUILD_DIR, "--prefix", "/usr"}, "/");
    ::unsetenv("DESTDIR");
    s_installed = install.exitCode == 0;
    if (!s_installed)
      std::fprintf(stderr, "install failed:\n%s%s", install.out.c_str(), install.err.c_str());
  }
  static void TearDownTestSuite() { s_root.reset(); }

  void SetUp() override {
    ASSERT_TRUE(s_installed);
    ::setenv("HOME", m_home.path().c_str(), 1);
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("LANG", "C", 1);
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_MESSAGES");
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("QT_QPA_GENERIC_PLUGINS", "m2drive", 1);
    ::setenv("QT_PLUGIN_PATH", M2_DRIVE_PLUGINS, 1);
    fs::create_directories(UserFolder());  // where m2sim puts the COM1 link
  }

  static fs::path Usr() { return s_root->path() / "dest/usr"; }
  fs::path UserFolder() const { return m_home.path() / ".local/share/orvante-m2klx"; }
  std::string ComLink() const { return (UserFolder() / "COM1").string(); }

  // The installed entry's Exec line, its program found in the installed tree and the
  // file-manager's %f replaced by `file` (left out when empty).
  static std::vector<std::string> ExecLine(const std::string& entry, const std::string& file = {}) {
    std::istringstream text(ReadText(Usr() / "share/applications" / entry));
    std::vector<std::string> argv;
    for (std::string line; std::getline(text, line);) {
      if (line.rfind("Exec=", 0) != 0) continue;
      std::istringstream words(line.substr(5));
      for (std::string word; words >> word;) {
        if (argv.empty()) word = (Usr() / "bin" / word).string();
        if (word == "%f" && file.empty()) continue;
        argv.push_back(word == "%f" ? file : word);
      }
    }
    return argv;
  }

  // Runs the program in a scratch current folder, its windows worked by `script`.
  DriveResult Drive(const std::vector<std::string>& argv, const std::string& script) {
    const fs::path log = m_logs.path() / "drive.log";
    fs::remove(log);
    ::setenv("M2_DRIVE", script.c_str(), 1);
    ::setenv("M2_DRIVE_LOG", log.c_str(), 1);
    const auto run = m2::test::RunProgram(argv, m_cwd.path().string(), std::chrono::seconds(60));
    return {run.exitCode, ReadText(log) + run.err};
  }

  static std::unique_ptr<ScratchDir> s_root;
  static bool s_installed;
  ScratchDir m_home, m_cwd, m_logs;
};

std::unique_ptr<ScratchDir> InstalledPrograms::s_root;
bool InstalledPrograms::s_installed = false;

TEST_F(InstalledPrograms, SetupFromTheMenuReadsTheTaAndSavesInTheUserFolder) {
  SimProcess sim({}, ComLink());
  const auto run = Drive(ExecLine("org.m2klx.M2Setup.desktop"),
                         "SetupMainDialog>Return;ReadConfirmDialog>#1012;"
                         "SetupMainDialog>Esc;ExitConfirmDialog>#1");
  EXPECT_EQ(run.exitCode, 0) << run.log;
  EXPECT_TRUE(Contains(sim.commandLog(), "ATI0")) << "the TA was not identified";
  EXPECT_TRUE(Contains(sim.commandLog(), "AT&V0")) << "the configuration was not read";
  EXPECT_TRUE(fs::is_regular_file(UserFolder() / "M2SetupV100.dat"));
  EXPECT_FALSE(fs::exists(m_cwd.path() / "M2SetupV100.dat"));
  EXPECT_FALSE(fs::exists(m_home.path() / "M2SetupV100.dat"));
}

TEST_F(InstalledPrograms, UpdateSendsTheFileItWasOpenedWith) {
  const fs::path image = m_cwd.path() / "firmware.dlf";
  std::string bytes(3000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  std::ofstream(image, std::ios::binary) << bytes;
  const fs::path received = m_logs.path() / "received.bin";
  SimProcess sim({"--xmodem", "--start-interval-ms", "100", "--verdict-delay-ms", "0", "--out",
                  received.string()},
                 ComLink());
  const auto run = Drive(ExecLine("org.m2klx.M2Update.desktop", image.string()),
                         "UpdateMainDialog>#1005;UpdateConfirmDialog>#1;"
                         "UpdateProgressDialog>#1=終了;UpdateMainDialog>Esc");
  EXPECT_EQ(run.exitCode, 0) << run.log;
  // XMODEM pads the last block; the image itself arrived whole.
  EXPECT_EQ(ReadText(received).substr(0, bytes.size()), bytes) << run.log;
}

TEST_F(InstalledPrograms, F1OpensTheInstalledGuide) {
  const fs::path guides = Usr() / "share/m2klx/help/en";
  SimProcess sim({}, ComLink());
  for (const std::string program : {"M2Setup", "M2Update"}) {
    const std::string dialog = program == "M2Setup" ? "SetupMainDialog" : "UpdateMainDialog";
    const auto run = Drive(ExecLine("org.m2klx." + program + ".desktop"),
                           dialog + ">F1;" + dialog + ">Esc");
    EXPECT_EQ(run.exitCode, 0) << run.log;
    EXPECT_NE(run.log.find("open file://" + fs::canonical(guides / (program + ".html")).string() +
                           "#" + dialog),
              std::string::npos)
        << run.log;
  }
}
