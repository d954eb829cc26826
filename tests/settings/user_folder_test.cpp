// The per-user working folder of a menu start, and the few arguments the programs take.
#include "settings/user_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/scratch_dir.h"

namespace fs = std::filesystem;

TEST(UserFolder, FollowsXdgDataHomeOnlyWhenAbsolute) {
  EXPECT_EQ(m2::UserFolderPath("/x/data", "/home/u"), fs::path("/x/data/orvante-m2klx"));
  EXPECT_EQ(m2::UserFolderPath("rel/data", "/home/u"),
            fs::path("/home/u/.local/share/orvante-m2klx"));
  EXPECT_EQ(m2::UserFolderPath(nullptr, "/home/u"), fs::path("/home/u/.local/share/orvante-m2klx"));
  EXPECT_TRUE(m2::UserFolderPath(nullptr, nullptr).empty());
}

TEST(UserFolder, IsMadePrivateOnceAndEntered) {
  m2::test::ScratchDir home;
  const fs::path before = fs::current_path();
  const fs::path folder = m2::UserFolderPath(nullptr, home.path().c_str());
  ASSERT_FALSE(m2::EnterUserFolder(folder));
  EXPECT_EQ(fs::current_path(), fs::canonical(folder));
  struct stat st {};
  ASSERT_EQ(::stat(folder.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  // A second start finds the folder as it is, also one the user opened up.
  ::chmod(folder.c_str(), 0750);
  EXPECT_FALSE(m2::EnterUserFolder(folder));
  ::stat(folder.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0750u);
  fs::current_path(before);
  // A file where the folder should be is an error, and the current folder stays.
  const fs::path blocked = home.path() / "blocked";
  { std::ofstream(blocked.string()) << "x"; }
  EXPECT_TRUE(m2::EnterUserFolder(blocked / "orvante-m2klx"));
  EXPECT_EQ(fs::current_path(), before);
}

TEST(LaunchOptions, TakeTheFolderOptionAndOnePath) {
  auto parsed = m2::ParseLaunchOptions({"--user-folder", "/d/fw.dlf"}, true);
  EXPECT_TRUE(parsed.userFolder);
  EXPECT_EQ(parsed.path, "/d/fw.dlf");
  EXPECT_TRUE(parsed.error.empty());
  parsed = m2::ParseLaunchOptions({"--", "-odd.dlf"}, true);
  EXPECT_FALSE(parsed.userFolder);
  EXPECT_EQ(parsed.path, "-odd.dlf");
  EXPECT_FALSE(m2::ParseLaunchOptions({"a.dlf", "b.dlf"}, true).error.empty());
  EXPECT_FALSE(m2::ParseLaunchOptions({"a.dlf"}, false).error.empty());
  EXPECT_FALSE(m2::ParseLaunchOptions({"--verbose"}, false).error.empty());
}
