#include <gtest/gtest.h>
#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "test_support.h"
#include "update/download_file.h"
#include "update/update_messages.h"

namespace m2 {
namespace {

using test::Bytes;

TEST(DownloadFile, ReadsBlocksAndZeroPadsTheLast) {
  struct Row {
    std::size_t size, blocks;
  };
  for (const Row row : {Row{0, 0}, Row{1, 1}, Row{1024, 1}, Row{1025, 2}, Row{3000, 3}}) {
    const std::size_t size = row.size;
    const Bytes contents = test::Pattern(size);
    test::TempFile file(contents);
    DownloadFile f;
    ASSERT_EQ(f.Open(file.path()), 0);
    EXPECT_EQ(f.size(), size);
    EXPECT_EQ(f.blockCount(), row.blocks);
    Bytes sent;
    std::uint8_t block[1024];
    for (std::uint64_t n = 1; n <= f.blockCount(); ++n) {
      std::fill(std::begin(block), std::end(block), 0xEE);  // stale bytes must not survive
      ASSERT_EQ(f.ReadNextBlock(n, block), 0);
      sent.insert(sent.end(), block, block + 1024);
    }
    ASSERT_EQ(sent.size(), f.blockCount() * 1024);
    EXPECT_TRUE(std::equal(contents.begin(), contents.end(), sent.begin())) << size;
    EXPECT_TRUE(std::all_of(sent.begin() + static_cast<long>(size), sent.end(),
                            [](std::uint8_t b) { return b == 0; }))
        << "padding is 0x00, size " << size;
  }
}

TEST(DownloadFile, OpenFailures) {
  DownloadFile f;
  EXPECT_EQ(f.Open("/nonexistent/dir/image.dlf"), kCodeFileNotFound);
  test::TempFile file(Bytes{1, 2, 3});
  EXPECT_EQ(f.Open(file.dir().string()), kCodeFileOpen) << "a directory";
  EXPECT_FALSE(f.isOpen());

  // Held by another sender: the flock refuses a second opener.
  int other = ::open(file.path().c_str(), O_RDONLY);
  ASSERT_GE(other, 0);
  ASSERT_EQ(::flock(other, LOCK_EX), 0);
  EXPECT_EQ(f.Open(file.path()), kCodeFileOpen);
  ::close(other);
  EXPECT_EQ(f.Open(file.path()), 0);
  DownloadFile second;
  EXPECT_EQ(second.Open(file.path()), kCodeFileOpen) << "exclusive while open";
  f.Close();
  EXPECT_EQ(second.Open(file.path()), 0);

  if (::geteuid() != 0) {  // root reads anything
    std::filesystem::permissions(file.path(), std::filesystem::perms::none);
    DownloadFile third;
    EXPECT_EQ(third.Open(file.path()), kCodeFileOpen);
  }
}

TEST(DownloadFile, ShrunkFileFailsTheReadAndCloses) {
  // Blocks already read ahead go out as read; the next chunk finds the file short.
  constexpr std::uint64_t chunk = DownloadFile::kReadAheadBlocks;
  test::TempFile file(test::Pattern((chunk + 2) * 1024));
  DownloadFile f;
  ASSERT_EQ(f.Open(file.path()), 0);
  std::uint8_t block[1024];
  ASSERT_EQ(f.ReadNextBlock(1, block), 0);
  std::filesystem::resize_file(file.path(), 1500);
  for (std::uint64_t n = 2; n <= chunk; ++n) ASSERT_EQ(f.ReadNextBlock(n, block), 0);
  EXPECT_EQ(f.ReadNextBlock(chunk + 1, block), kCodeFileRead);
  EXPECT_FALSE(f.isOpen());
  EXPECT_EQ(f.ReadNextBlock(chunk + 2, block), kCodeFileRead);
}

}  // namespace
}  // namespace m2
