#include "update/download_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "update/update_messages.h"

namespace m2 {

int DownloadFile::Open(const std::string& path) {
  Close();
  struct stat entry{};
  if (::stat(path.c_str(), &entry) != 0) return kCodeFileNotFound;
  if (!S_ISREG(entry.st_mode)) return kCodeFileOpen;
  // O_NONBLOCK: should the path turn into a FIFO or a device after the stat, the open must
  // still return at once. The opened file is checked again.
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (!fd) return kCodeFileOpen;
  if (::fstat(fd.get(), &entry) != 0 || !S_ISREG(entry.st_mode)) return kCodeFileOpen;
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return kCodeFileOpen;
  m_size = static_cast<std::uint64_t>(entry.st_size);
  m_fd = std::move(fd);
  return 0;
}

int DownloadFile::ReadNextBlock(std::uint64_t counter, std::uint8_t* data) {
  if (!m_fd || counter == 0) return kCodeFileRead;
  const std::uint64_t offset = (counter - 1) * kBlockBytes;
  const std::uint64_t left = offset < m_size ? m_size - offset : 0;
  const std::size_t want = left < kBlockBytes ? static_cast<std::size_t>(left) : kBlockBytes;
  if (want < kBlockBytes) std::memset(data, 0, kBlockBytes);
  std::size_t got = 0;
  while (got < want) {
    ssize_t n = ::read(m_fd.get(), data + got, want - got);
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
