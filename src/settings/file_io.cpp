#include "settings/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <string>

#include "serial/unique_fd.h"

namespace m2 {
namespace {

// Far beyond a settings file; an old file we cannot hold in memory is copied by link only.
constexpr std::size_t kMaxOldFileBytes = 16u << 20;
constexpr int kMaxBadCopies = 1000;

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

std::string TemporaryPrefix(const std::string& base) { return "." + base + ".tmp-"; }

// A name no other writer uses: pid and a per-process counter, retried on collision.
std::string TemporaryName(const std::string& base, unsigned attempt) {
  static std::atomic<unsigned> counter{0};
  return TemporaryPrefix(base) + std::to_string(::getpid()) + "-" +
         std::to_string(counter.fetch_add(1) + attempt);
}

// Removes temporary files of our naming whose writer was killed part-way. A PID that names a
// live process (ours, or one that reused it) keeps its file.
void RemoveStaleTemporaries(int dirFd, const std::string& base) {
  UniqueFd listFd(::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!listFd) return;
  DIR* dir = ::fdopendir(listFd.get());
  if (!dir) return;
  listFd.release();
  const std::string prefix = TemporaryPrefix(base);
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (!name.starts_with(prefix)) continue;
    const std::string rest(name.substr(prefix.size()));
    char* end = nullptr;
    const long pid = std::strtol(rest.c_str(), &end, 10);
    if (pid <= 0 || end == rest.c_str() || *end != '-' || pid == ::getpid()) continue;
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

// Keeps the old file under the first free <name>.bad[.N]: a hard link where the file system
// has them, else a copy of the contents read before.
std::error_code KeepOldFile(int dirFd, const std::string& name, mode_t mode,
                            const std::optional<std::vector<std::uint8_t>>& contents,
                            std::string& keptName) {
  for (int n = 0; n < kMaxBadCopies; ++n) {
    const std::string candidate = name + ".bad" + (n ? "." + std::to_string(n) : "");
    if (::linkat(dirFd, name.c_str(), dirFd, candidate.c_str(), 0) == 0) {
      keptName = candidate;
      return {};
    }
    if (errno == EEXIST) continue;
    if (!contents) return LastError();
    UniqueFd fd(::openat(dirFd, candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
    if (!fd) {
      if (errno == EEXIST) continue;
      return LastError();
    }
    if (!WriteAll(fd.get(), *contents) || ::fsync(fd.get()) != 0) {
      const std::error_code failure = LastError();
      fd.reset();
      ::unlinkat(dirFd, candidate.c_str(), 0);
      return failure;
    }
    keptName = candidate;
    return {};
  }
  return std::make_error_code(std::errc::file_exists);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path,
                                                       std::size_t maxBytes) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
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

ReplaceResult ReplaceFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                          const OldFileCheck& mayReplace) {
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
  if (name.empty()) return {std::make_error_code(std::errc::is_a_directory), {}};

  UniqueFd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dirFd) return {LastError(), {}};
  RemoveStaleTemporaries(dirFd.get(), name);

  struct stat old {};
  const bool oldExists = ::fstatat(dirFd.get(), name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;

  std::string tmpName;
  UniqueFd fd;
  for (unsigned attempt = 0; !fd; ++attempt) {
    tmpName = TemporaryName(name, attempt);
    fd.reset(::openat(dirFd.get(), tmpName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd && (errno != EEXIST || attempt > 100)) return {LastError(), {}};
  }

  std::error_code failure;
  if (oldExists && ::fchmod(fd.get(), old.st_mode & 0777) != 0) failure = LastError();
  if (!failure && (!WriteAll(fd.get(), bytes) || ::fsync(fd.get()) != 0)) failure = LastError();
  if (!failure && ::close(fd.release()) != 0) failure = LastError();
  std::string keptName;
  if (!failure && oldExists && mayReplace) {
    const auto contents = ReadWholeFile(dir / name, kMaxOldFileBytes);
    if (!mayReplace(contents))
      failure = KeepOldFile(dirFd.get(), name, old.st_mode & 0777, contents, keptName);
  }
  if (!failure && ::renameat(dirFd.get(), tmpName.c_str(), dirFd.get(), name.c_str()) != 0)
    failure = LastError();
  if (failure) {
    fd.reset();
    ::unlinkat(dirFd.get(), tmpName.c_str(), 0);
    return {failure, {}};
  }
  // Makes the rename (and a kept copy) durable; the new contents are complete either way.
  ::fsync(dirFd.get());
  return {{}, keptName.empty() ? std::filesystem::path{} : target.parent_path() / keptName};
}

}  // namespace m2
