#include "update/download_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "update/update_messages.h"

namespace m2 {
namespace {

constexpr std::string_view kNotAFileText = "ﾌｧｲﾙではありません";
constexpr std::string_view kInUseText = "他のﾌﾟﾛｸﾞﾗﾑが使用中です";

}  // namespace

int DownloadFile::Open(const std::string& path) {
  Close();
  m_failureDetail.clear();
  auto fail = [&](int code, std::string_view cause) {
    m_failureDetail = path + ": " + std::string(cause);
    return code;
  };
  struct stat entry{};
  if (::stat(path.c_str(), &entry) != 0) return fail(kCodeFileNotFound, std::strerror(errno));
  if (!S_ISREG(entry.st_mode)) return fail(kCodeFileOpen, kNotAFileText);
  // O_NONBLOCK: should the path turn into a FIFO or a device after the stat, the open must
  // still return at once. The opened file is checked again.
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (!fd) return fail(kCodeFileOpen, std::strerror(errno));
  if (::fstat(fd.get(), &entry) != 0 || !S_ISREG(entry.st_mode))
    return fail(kCodeFileOpen, kNotAFileText);
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return fail(kCodeFileOpen, kInUseText);
  m_size = static_cast<std::uint64_t>(entry.st_size);
  m_fd = std::move(fd);
  return 0;
}

void DownloadFile::Close() {
  m_fd.reset();
  m_ahead.clear();
  m_aheadFirst = 0;
}

int DownloadFile::ReadNextBlock(std::uint64_t counter, std::uint8_t* data) {
  if (!m_fd || counter == 0) return kCodeFileRead;
  const std::uint64_t offset = (counter - 1) * kBlockBytes;
  const std::uint64_t aheadOffset = m_aheadFirst == 0 ? 0 : (m_aheadFirst - 1) * kBlockBytes;
  const bool buffered =
      m_aheadFirst != 0 && offset >= aheadOffset && offset < aheadOffset + m_ahead.size();
  if (!buffered && fillAhead(counter) != 0) return kCodeFileRead;
  const std::size_t at = static_cast<std::size_t>(offset - (m_aheadFirst - 1) * kBlockBytes);
  const std::size_t have = std::min<std::size_t>(kBlockBytes, m_ahead.size() - at);
  if (have != 0) std::memcpy(data, m_ahead.data() + at, have);
  if (have < kBlockBytes) std::memset(data + have, 0, kBlockBytes - have);
  return 0;
}

int DownloadFile::fillAhead(std::uint64_t counter) {
  const std::uint64_t offset = (counter - 1) * kBlockBytes;
  const std::uint64_t left = offset < m_size ? m_size - offset : 0;
  const std::size_t want = static_cast<std::size_t>(std::min(left, kReadAheadBlocks * kBlockBytes));
  m_ahead.resize(want);
  m_aheadFirst = counter;
  std::size_t got = 0;
  while (got < want) {
    ssize_t n = ::pread(m_fd.get(), m_ahead.data() + got, want - got,
                        static_cast<off_t>(offset + got));
    if (n < 0 && errno == EINTR) continue;
    // A file that shrank since it was sized would send stale bytes: fail like a read error.
    if (n <= 0) {
      Close();
      return kCodeFileRead;
    }
    got += static_cast<std::size_t>(n);
  }
  return 0;
}

}  // namespace m2
