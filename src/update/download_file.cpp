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
  m_aheadOffset = 0;
}

int DownloadFile::ReadNextBlock(std::uint64_t counter, std::uint8_t* data) {
  if (!m_fd || counter == 0) return kCodeFileRead;
  const std::uint64_t offset = (counter - 1) * kBlockBytes;
  const bool buffered = offset >= m_aheadOffset && offset < m_aheadOffset + m_ahead.size();
  if (!buffered && fillAhead(offset) != 0) return kCodeFileRead;
  const std::size_t at = static_cast<std::size_t>(offset - m_aheadOffset);
  const std::size_t have = std::min<std::size_t>(kBlockBytes, m_ahead.size() - at);
  if (have != 0) std::memcpy(data, m_ahead.data() + at, have);
  std::memset(data + have, 0, kBlockBytes - have);
  return 0;
}

int DownloadFile::fillAhead(std::uint64_t offset) {
  const std::uint64_t left = offset < m_size ? m_size - offset : 0;
  m_ahead.resize(static_cast<std::size_t>(std::min(left, kReadAheadBlocks * kBlockBytes)));
  m_aheadOffset = offset;
  std::size_t got = 0;
  while (got < m_ahead.size()) {
    ssize_t n = ::pread(m_fd.get(), m_ahead.data() + got, m_ahead.size() - got,
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
