// Finding serial devices, the COM<n> mapping and its links, and the line that says why a
// port did not open.
#include <fcntl.h>
#include <grp.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "serial/com_naming.h"
#include "serial/com_port.h"
#include "serial/console_ui.h"
#include "serial/error_table.h"
#include "serial/link_owner.h"
#include "serial/serial_devices.h"
#include "support/scratch_dir.h"

namespace m2 {
namespace {

using ::testing::HasSubstr;

// Runs in a folder of its own for the COM<n> links, and goes back afterwards.
class InFolder {
 public:
  explicit InFolder(const std::filesystem::path& dir) : m_old(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~InFolder() { std::filesystem::current_path(m_old); }

 private:
  std::filesystem::path m_old;
};

TEST(SerialDevices, UsbByStableNameWithMakerAndBuiltInOnlyWithAUart) {
  std::vector<TtyRecord> ttys(6);
  ttys[0].devNode = "/dev/ttyS1";
  ttys[0].uartType = 0;  // a placeholder without hardware
  ttys[1].devNode = "/dev/ttyUSB0";
  ttys[1].devLinks = {"/dev/serial/by-path/pci-0:1.0-port0",
                      "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A5-if00-port0"};
  ttys[1].properties = {{"ID_VENDOR", "FTDI"},
                        {"ID_VENDOR_FROM_DATABASE", "Future Technology Devices International"},
                        {"ID_MODEL", "FT232R_USB_UART"},
                        {"ID_SERIAL_SHORT", "A5"}};
  ttys[2].devNode = "/dev/ttyS0";
  ttys[2].uartType = 4;
  ttys[3].devNode = "/dev/ttyACM0";  // no database: the USB device's own strings
  ttys[3].usbManufacturer = "Acme";
  ttys[3].usbProduct = "Modem 56k";
  ttys[3].usbSerial = "77";
  ttys[4].devNode = "/dev/ttyS2";  // no type attribute
  ttys[5].devNode = "/dev/tty5";
  const auto devices = SerialDevicesFrom(ttys);
  ASSERT_EQ(devices.size(), 3u);
  EXPECT_EQ(devices[0].path, "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A5-if00-port0");
  EXPECT_EQ(devices[0].node, "/dev/ttyUSB0");
  EXPECT_EQ(DeviceTitle(devices[0]), "Future Technology Devices International FT232R USB UART");
  EXPECT_EQ(devices[0].serial, "A5");
  EXPECT_EQ(devices[1].path, "/dev/ttyACM0");
  EXPECT_EQ(DeviceTitle(devices[1]), "Acme Modem 56k");
  EXPECT_EQ(devices[1].serial, "77");
  EXPECT_EQ(devices[2].path, "/dev/ttyS0");
  EXPECT_EQ(devices[2].kind, SerialKind::BuiltIn);
  // A device is named by its by-id name or its node as well as by its path.
  EXPECT_EQ(FindSerialDevice(devices, "usb-FTDI_FT232R_USB_UART_A5-if00-port0"), &devices[0]);
  EXPECT_EQ(FindSerialDevice(devices, "ttyACM0"), &devices[1]);
  EXPECT_EQ(FindSerialDevice(devices, "ttyS1"), nullptr);
}

TEST(ComNaming, LinkDanglingLinkTtySAndNone) {
  test::ScratchDir dir;
  const ComNaming naming{dir.path().string(), dir.file("ttyS")};
  std::ofstream(dir.file("ttyS0")).put('x');
  std::filesystem::create_symlink("/dev/null", dir.file("COM3"));
  std::filesystem::create_symlink(dir.file("gone"), dir.file("COM4"));

  const ComTarget com1 = ResolveCom(1, naming);
  EXPECT_EQ(com1.source, ComSource::TtyS);
  EXPECT_TRUE(com1.exists);
  EXPECT_EQ(ComTargetText(1, com1), dir.file("ttyS0"));
  const ComTarget com2 = ResolveCom(2, naming);
  EXPECT_FALSE(com2.exists);
  EXPECT_EQ(ComTargetText(2, com2), "なし (" + dir.file("ttyS1") + " がありません)");
  const ComTarget com3 = ResolveCom(3, naming);
  EXPECT_EQ(com3.source, ComSource::Link);
  EXPECT_TRUE(com3.exists);
  EXPECT_EQ(ComTargetText(3, com3), "COM3 → /dev/null");
  const ComTarget com4 = ResolveCom(4, naming);
  EXPECT_EQ(com4.source, ComSource::Link);
  EXPECT_FALSE(com4.exists);
  EXPECT_EQ(ComTargetText(4, com4), "COM4 → " + dir.file("gone") + " (ありません)");
  EXPECT_EQ(ResolveCom(5, naming).openPath, "");

  // A dangling link is reported as missing, naming its target, through the numbered
  // message, and nothing else is opened in its place.
  InFolder in(dir.path());
  std::filesystem::create_symlink(dir.file("gone"), "COM1");
  ConsoleDialogs dialogs(nullptr);
  BlockingBurstWaiter waiter;
  LinkOwner owner(dialogs, waiter);
  EXPECT_EQ(owner.ConnectTa(kDisplayMessageBox, nullptr, nullptr, 1), 0);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0], ErrorMessageText(err::kPortOpen));
  EXPECT_THAT(dialogs.details()[0],
              HasSubstr("COM1 → " + dir.file("gone") + ": ﾃﾞﾊﾞｲｽがありません"));
}

TEST(ComLink, MadeReplacedButNeverOverAFile) {
  test::ScratchDir dir;
  const std::string folder = dir.path().string();
  EXPECT_EQ(MakeComLink(1, "/dev/null", folder).result, LinkResult::Made);
  EXPECT_EQ(std::filesystem::read_symlink(dir.file("COM1")).string(), "/dev/null");
  EXPECT_EQ(MakeComLink(1, "/dev/zero", folder).result, LinkResult::Replaced);
  EXPECT_EQ(std::filesystem::read_symlink(dir.file("COM1")).string(), "/dev/zero");
  std::ofstream(dir.file("COM2")) << "mine";
  EXPECT_EQ(MakeComLink(2, "/dev/null", folder).result, LinkResult::NotALink);
  std::ifstream kept(dir.file("COM2"));
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "mine");
  EXPECT_EQ(MakeComLink(5, "/dev/null", folder).result, LinkResult::Failed);
  // A relative device is linked by its full path, so the link works from anywhere.
  InFolder in(dir.path());
  EXPECT_EQ(MakeComLink(3, "COM1").result, LinkResult::Made);
  EXPECT_EQ(std::filesystem::read_symlink("COM3").string(), dir.file("COM1"));
}

std::string Detail(const std::string& path) {
  ComPortInfo port;
  port.baudRate = 9600;
  OpenFailure failure;
  OpenComDevice(port, path, &failure);
  return OpenFailureDetail(failure);
}

std::string OwnName() {
  std::ifstream in("/proc/self/comm");
  std::string name;
  std::getline(in, name);
  return name;
}

TEST(OpenFailureDetail, EachCauseNamesThePathAndWhy) {
  test::ScratchDir dir;
  EXPECT_EQ(Detail(dir.file("none")),
            dir.file("none") + ": ﾃﾞﾊﾞｲｽがありません (No such file or directory)");
  std::ofstream(dir.file("plain")) << "x";
  EXPECT_EQ(Detail(dir.file("plain")), dir.file("plain") + ": ｼﾘｱﾙﾃﾞﾊﾞｲｽではありません");

  int master, slave;
  char name[128];
  ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
  UniqueFd m(master), s(slave);
  {
    ComPortInfo holder;
    holder.baudRate = 9600;
    ASSERT_EQ(OpenComDevice(holder, name), OpenError::None);
    EXPECT_EQ(Detail(name), std::string(name) + ": 他のﾌﾟﾛｸﾞﾗﾑが使用中です (PID " +
                                std::to_string(::getpid()) + " " + OwnName() + ")");
    CloseComDevice(holder);
  }

  if (::geteuid() != 0) GTEST_SKIP() << "permission denied needs a second user: run as root";
  // A node like a USB adapter's: root's, read and write for its group, which nobody is
  // not in.
  const group* dialout = ::getgrnam("dialout");
  const gid_t gid = dialout ? dialout->gr_gid : 20;
  const std::string groupName = dialout ? "dialout" : std::to_string(gid);
  ASSERT_EQ(::chown(name, 0, gid), 0);
  ASSERT_EQ(::chmod(name, 0660), 0);
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
    const std::string line = Detail(name);
    [[maybe_unused]] auto w = ::write(pipeFds[1], line.data(), line.size());
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  std::string line;
  char buf[512];
  for (ssize_t n; (n = ::read(pipeFds[0], buf, sizeof buf)) > 0;)
    line.append(buf, static_cast<size_t>(n));
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(line, std::string(name) + ": ｱｸｾｽ権がありません (Permission denied)。ﾕｰｻﾞｰを " +
                      groupName + " ｸﾞﾙｰﾌﾟに加えて (sudo usermod -aG " + groupName +
                      " $USER) ﾛｸﾞｲﾝし直してください");
}

}  // namespace
}  // namespace m2
