#pragma once
// The download file: a regular file only, opened read-only without blocking and
// exclusively (flock, so no second copy of ours sends it at the same time), sized from its
// directory entry, read ahead a few dozen blocks at a time so that the transfer makes one
// file read per chunk rather than per block. Its contents are never interpreted.
#include <cstdint>
#include <string>
#include <vector>

#include "serial/unique_fd.h"

namespace m2 {

class DownloadFile {
 public:
  static constexpr std::uint64_t kBlockBytes = 1024;
  static constexpr std::uint64_t kReadAheadBlocks = 64;

  // 0, kCodeFileNotFound (no directory entry) or kCodeFileOpen; failureDetail() then
  // names the path and the cause in one line.
  int Open(const std::string& path);
  const std::string& failureDetail() const { return m_failureDetail; }
  // Reads the block the counter has just been advanced to into data (kBlockBytes long).
  // The last block's tail is zero. 0, or kCodeFileRead after which the file is closed.
  // Blocks are taken in order; a file found shorter than its size at the next chunk fails.
  int ReadNextBlock(std::uint64_t counter, std::uint8_t* data);
  void Close();

  bool isOpen() const { return m_fd.valid(); }
  std::uint64_t size() const { return m_size; }
  std::uint64_t blockCount() const { return BlockCount(m_size); }
  static constexpr std::uint64_t BlockCount(std::uint64_t size) {
    return (size + kBlockBytes - 1) / kBlockBytes;
  }

 private:
  int fillAhead(std::uint64_t offset);

  UniqueFd m_fd;
  std::uint64_t m_size = 0;
  std::vector<std::uint8_t> m_ahead;  // the file from m_aheadOffset on, as read, unpadded
  std::uint64_t m_aheadOffset = 0;
  std::string m_failureDetail;
};

}  // namespace m2
