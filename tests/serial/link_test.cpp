// The serial link on a real pseudo-terminal: burst hand-over, exclusive open with lock
// files, terminal output, closing, and a device that vanishes.
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <condition_variable>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "serial/com_port.h"
#include "serial/com_thread.h"
#include "serial/device_lock.h"
#include "serial/serial_link.h"
#include "serial/update_link.h"
#include "support/sim_process.h"

namespace m2 {
namespace {

using namespace std::chrono_literals;

struct Pty {
  UniqueFd master, slave;
  std::string slaveName;
  Pty() {
    int m, s;
    char name[128];
    if (::openpty(&m, &s, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty");
    master.reset(m);
    slave.reset(s);  // kept open so the master never sees a hang-up
    slaveName = name;
  }
  void send(const std::string& bytes) const {
    ASSERT_EQ(::write(master.get(), bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
};

class RecordingSink : public BurstSink {
 public:
  void handOver(const std::uint8_t* data, int length) override {
    std::lock_guard lock(m_mutex);
    pieces.emplace_back(reinterpret_cast<const char*>(data), static_cast<size_t>(length));
    total += static_cast<size_t>(length);
    m_changed.notify_all();
  }
  void postByte(std::uint8_t) override {}
  void trace(std::string_view) override {}
  bool waitForTotal(size_t n) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, 5s, [&] { return total >= n; });
  }
  std::vector<std::string> pieces;
  size_t total = 0;

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
};

bool WaitForQueued(int fd, int n) {
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  int queued = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    if (::ioctl(fd, FIONREAD, &queued) == 0 && queued >= n) return true;
    std::this_thread::sleep_for(1ms);
  }
  return false;
}

// The bytes are queued before the watcher starts, so the burst boundaries are exact.
std::vector<size_t> PieceSizes(size_t burst, int limit) {
  Pty pty;
  ComPortInfo port;
  port.baudRate = 9600;
  EXPECT_EQ(OpenComDevice(port, pty.slaveName), OpenError::None);
  pty.send(std::string(burst, 'x'));
  EXPECT_TRUE(WaitForQueued(port.handle.get(), static_cast<int>(burst)));
  port.openFlag = 1;
  RecordingSink sink;
  CComThread watcher(port, sink, limit);
  EXPECT_TRUE(watcher.start());
  EXPECT_TRUE(sink.waitForTotal(burst));
  watcher.stop();
  CloseComDevice(port);
  std::vector<size_t> sizes;
  for (const auto& p : sink.pieces) sizes.push_back(p.size());
  return sizes;
}

TEST(BurstHandOver, PiecesOfAtMost1025Bytes) {
  EXPECT_EQ(PieceSizes(1025, 1024), (std::vector<size_t>{1025}));
  EXPECT_EQ(PieceSizes(1026, 1024), (std::vector<size_t>{1025, 1}));
  EXPECT_EQ(PieceSizes(2051, 1024), (std::vector<size_t>{1025, 1025, 1}));
  EXPECT_EQ(PieceSizes(80, 1024), (std::vector<size_t>{80}));
  EXPECT_EQ(PieceSizes(3000, 4096), (std::vector<size_t>{3000}));
}

struct TerminalRecorder : TerminalOutput {
  std::mutex mutex;
  std::condition_variable changed;
  std::string seen;
  void onChar(std::uint8_t byte) override {
    std::lock_guard lock(mutex);
    seen += static_cast<char>(byte);
    changed.notify_all();
  }
  bool waitFor(size_t n) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, 5s, [&] { return seen.size() >= n; });
  }
};

TEST(SerialLinkTest, TerminalSeesCarriageReturnsButNoLineFeeds) {
  Pty pty;
  SerialLink link;
  TerminalRecorder terminal;
  link.setTerminalOutput(&terminal);
  link.setDeviceOverride(pty.slaveName);
  ASSERT_EQ(link.PreparePort(1, 9600, 8, 0, 0), 1);
  ASSERT_EQ(link.OpenPort(), 1);
  pty.send("A\r\nB");
  ASSERT_TRUE(terminal.waitFor(3));
  link.Trace("<CE-8>\n");
  EXPECT_EQ(terminal.seen, "A\rB<CE-8>");
  link.ReleasePort();
}

TEST(SerialLinkTest, ClosingTwiceAndWithoutWatcherIsHarmless) {
  Pty pty;
  SerialLink link;
  link.ClosePort();  // nothing prepared
  link.setDeviceOverride(pty.slaveName);
  ASSERT_EQ(link.PreparePort(1, 9600, 8, 0, 0), 1);
  link.ClosePort();  // prepared, never opened
  ASSERT_EQ(link.OpenPort(), 1);
  EXPECT_TRUE(link.isOpen());
  link.ClosePort();
  link.ClosePort();
  EXPECT_FALSE(link.isOpen());
  link.ReleasePort();
  link.ReleasePort();
  EXPECT_FALSE(link.isPrepared());
}

TEST(SerialLinkTest, PortNumbersAboveFourNeverOpen) {
  EXPECT_EQ(ResolveComDevice(5), "");
  EXPECT_EQ(ResolveComDevice(0), "");
  SerialLink link;
  ASSERT_EQ(link.PreparePort(5, 9600, 8, 0, 0), 1);
  EXPECT_EQ(link.OpenPort(), 0);
  link.ReleasePort();
}

TEST(SerialLinkTest, ComNameMapsToLocalLinkOrTtyS) {
  test::ScratchDir dir;
  char old[4096];
  ASSERT_TRUE(::getcwd(old, sizeof old));
  ASSERT_EQ(::chdir(dir.path().c_str()), 0);
  EXPECT_EQ(ResolveComDevice(3), "/dev/ttyS2");
  ASSERT_EQ(::symlink("/dev/null", "COM3"), 0);
  EXPECT_EQ(ResolveComDevice(3), "COM3");
  ASSERT_EQ(::chdir(old), 0);
}

std::string LockFileFor(const std::string& device) {
  char resolved[4096];
  std::string real = ::realpath(device.c_str(), resolved) ? resolved : device;
  return DeviceLock::LockDirectory() + "/" + DeviceLock::LockFileName(real);
}

bool Exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

TEST(SerialLinkTest, PortHeldByAnotherProcessIsRefusedAndLockIsRemovedOnRelease) {
  Pty pty;
  int ready[2], done[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(done), 0);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    SerialLink holder;
    holder.setDeviceOverride(pty.slaveName);
    char ok = (holder.PreparePort(1, 9600, 8, 0, 0) == 1 && holder.OpenPort() == 1) ? '1' : '0';
    [[maybe_unused]] auto w = ::write(ready[1], &ok, 1);
    char c;
    [[maybe_unused]] auto r = ::read(done[0], &c, 1);
    holder.ReleasePort();
    ::_exit(0);
  }
  char ok = 0;
  ASSERT_EQ(::read(ready[0], &ok, 1), 1);
  ASSERT_EQ(ok, '1');
  const std::string lockFile = LockFileFor(pty.slaveName);
  EXPECT_TRUE(Exists(lockFile));

  SerialLink second;
  second.setDeviceOverride(pty.slaveName);
  ASSERT_EQ(second.PreparePort(1, 9600, 8, 0, 0), 1);
  EXPECT_EQ(second.OpenPort(), 0);
  second.ReleasePort();
  EXPECT_FALSE(second.isPrepared());
  EXPECT_TRUE(Exists(lockFile));  // the refused open took nothing away from the holder

  ASSERT_EQ(::write(done[1], "x", 1), 1);
  int status;
  ::waitpid(child, &status, 0);
  EXPECT_FALSE(Exists(lockFile));
  EXPECT_EQ(second.PreparePort(1, 9600, 8, 0, 0), 1);
  EXPECT_EQ(second.OpenPort(), 1);
  second.ReleasePort();
  EXPECT_FALSE(Exists(lockFile));
  for (int fd : {ready[0], ready[1], done[0], done[1]}) ::close(fd);
}

TEST(SerialLinkTest, StaleLockOfDeadProcessIsTakenOver) {
  Pty pty;
  pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  int status;
  ::waitpid(child, &status, 0);  // its PID now names no process
  const std::string lockFile = LockFileFor(pty.slaveName);
  {
    std::ofstream out(lockFile);
    out << "      " << child << "\n";
  }
  SerialLink link;
  link.setDeviceOverride(pty.slaveName);
  ASSERT_EQ(link.PreparePort(1, 9600, 8, 0, 0), 1);
  EXPECT_EQ(link.OpenPort(), 1);
  std::ifstream in(lockFile);
  long pid = 0;
  in >> pid;
  EXPECT_EQ(pid, ::getpid());
  link.ReleasePort();
  EXPECT_FALSE(Exists(lockFile));
}

// Opened by another user (nobody, when the test runs as root), to whom the lock's owner is
// a live process it may not signal; the lock file is that user's to remove.
TEST(SerialLinkTest, LockOfALiveOwnerIsRespectedInEveryForm) {
  Pty pty;
  const std::string lockFile = LockFileFor(pty.slaveName);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chmod(pty.slaveName.c_str(), 0666), 0);
  }
  // PID 1 always exists.
  for (const std::string& contents :
       {std::string("  1\n"), std::string("1\n"), std::string("         1\n"),
        std::string("\x01\x00\x00\x00", 4)}) {
    SCOPED_TRACE(::testing::PrintToString(contents));
    std::ofstream(lockFile, std::ios::binary) << contents;
    if (root) {
      ASSERT_EQ(::chown(lockFile.c_str(), 65534, 65534), 0);
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (root && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
      SerialLink link;
      link.setDeviceOverride(pty.slaveName);
      if (link.PreparePort(1, 9600, 8, 0, 0) != 1) ::_exit(3);
      const int opened = link.OpenPort();
      link.ReleasePort();
      ::_exit(opened == 0 ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the live owner's lock was taken over";
    std::ifstream in(lockFile, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), contents);
  }
  ::unlink(lockFile.c_str());
}

// The watcher (reading) and a failed write both compare the line-error counters; the
// ThreadSanitizer build reports them unless they take turns. Only a driver with counters
// (a UART, not a pseudo-terminal) has any, so the first serial port is used when it can be
// had.
TEST(SerialLinkTest, LineErrorCountersAreComparedInTurns) {
  ComPortInfo port;
  port.baudRate = 9600;
  if (OpenComDevice(port, "/dev/ttyS0") != OpenError::None) GTEST_SKIP() << "no /dev/ttyS0";
  if (!port.lastCounts) {
    CloseComDevice(port);
    GTEST_SKIP() << "/dev/ttyS0 has no error counters";
  }
  const auto compare = [&port] {
    for (int i = 0; i < 200; ++i) ClearLineErrors(port, nullptr);
  };
  std::thread reader(compare);
  compare();
  reader.join();
  EXPECT_TRUE(port.lastCounts.has_value());
  CloseComDevice(port);
}

TEST(SerialLinkTest, VanishedDeviceStopsTheWatcherWithoutSpinning) {
  auto pty = std::make_unique<Pty>();
  SerialLink link;
  link.setDeviceOverride(pty->slaveName);
  ASSERT_EQ(link.PreparePort(1, 9600, 8, 0, 0), 1);
  ASSERT_EQ(link.OpenPort(), 1);
  const auto cpuBefore = test::ProcessCpuTime();
  pty->master.reset();
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (!link.deviceGone() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(5ms);
  EXPECT_TRUE(link.deviceGone());
  std::this_thread::sleep_for(300ms);  // a spinning watcher would burn this whole interval
  EXPECT_LT(test::ProcessCpuTime() - cpuBefore, std::chrono::microseconds(150'000));
  link.ReleasePort();
}

struct ChunkRecorder : RxChunkObserver {
  std::mutex mutex;
  std::condition_variable changed;
  std::string seen;
  void onRxChunk(const std::uint8_t* data, int length) override {
    std::lock_guard lock(mutex);
    EXPECT_EQ(data[length], 0);
    seen.append(reinterpret_cast<const char*>(data), static_cast<size_t>(length));
    changed.notify_all();
  }
};

TEST(UpdateLinkTest, OwnerRulesAndChunkDelivery) {
  test::ScratchDir dir;
  Pty pty;
  UpdateLink link;
  ChunkRecorder recorder;
  link.setDataWindow(&recorder);
  link.setDeviceOverride(pty.slaveName);
  ASSERT_EQ(link.OpenPort(2, 1, 0, 0, 6, 0), 1);
  EXPECT_EQ(link.ownerId(), 2);
  // A second owner without force keeps the port and its owner; its close does nothing.
  EXPECT_EQ(link.OpenPort(3, 1, 0, 0, 6, 0), 1);
  EXPECT_EQ(link.ownerId(), 2);
  link.ClosePort(3);
  EXPECT_TRUE(link.isOpen());
  pty.send("C");
  {
    std::unique_lock lock(recorder.mutex);
    ASSERT_TRUE(recorder.changed.wait_for(lock, 5s, [&] { return recorder.seen == "C"; }));
  }
  ASSERT_EQ(link.Write("\x04", 1), 1);
  char got = 0;
  ASSERT_TRUE(WaitForQueued(pty.master.get(), 1));
  ASSERT_EQ(::read(pty.master.get(), &got, 1), 1);
  EXPECT_EQ(got, '\x04');
  link.ClosePort(2);
  EXPECT_FALSE(link.isOpen());
}

}  // namespace
}  // namespace m2
