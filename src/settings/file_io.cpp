#include "settings/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

#include "serial/unique_fd.h"

namespace m2 {
namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// A name no other writer uses: pid and a per-process counter, retried on collision.
std::string TemporaryName(const std::string& base, unsigned attempt) {
  static std::atomic<unsigned> counter{0};
  return "." + base + ".tmp-" + std::to_string(::getpid()) + "-" +
         std::to_string(counter.fetch_add(1) + attempt);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path,
                                                       std::size_t maxBytes) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) return std::nullopt;
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  std::uint8_t buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) break;
    if (bytes.size() + static_cast<std::size_t>(n) > maxBytes) return std::nullopt;
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  return bytes;
}

std::error_code ReplaceFileAtomically(const std::filesystem::path& path,
                                      std::span<const std::uint8_t> bytes) {
  std::filesystem::path target = path;
  std::error_code ec;
  // Replace what a symbolic link points at, not the link.
  if (std::filesystem::is_symlink(target, ec)) {
    auto resolved = std::filesystem::weakly_canonical(target, ec);
    if (!ec) target = resolved;
  }
  std::filesystem::path dir = target.parent_path();
  if (dir.empty()) dir = ".";
  const std::string name = target.filename().string();
  if (name.empty()) return std::make_error_code(std::errc::is_a_directory);

  UniqueFd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dirFd) return LastError();

  std::string tmpName;
  UniqueFd fd;
  for (unsigned attempt = 0; !fd; ++attempt) {
    tmpName = TemporaryName(name, attempt);
    fd.reset(::openat(dirFd.get(), tmpName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd && (errno != EEXIST || attempt > 100)) return LastError();
  }

  std::error_code failure;
  if (!WriteAll(fd.get(), bytes) || ::fsync(fd.get()) != 0) failure = LastError();
  if (!failure && ::close(fd.release()) != 0) failure = LastError();
  if (!failure && ::renameat(dirFd.get(), tmpName.c_str(), dirFd.get(), name.c_str()) != 0)
    failure = LastError();
  if (failure) {
    fd.reset();
    ::unlinkat(dirFd.get(), tmpName.c_str(), 0);
    return failure;
  }
  // Makes the rename itself durable; the new contents are complete either way.
  ::fsync(dirFd.get());
  return {};
}

}  // namespace m2
