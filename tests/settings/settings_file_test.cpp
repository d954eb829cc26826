// The settings file: its exact bytes, load(save(x)) == x, and that no damaged file, failed
// write or killed save loses or corrupts the settings.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "serial/console_ui.h"
#include "serial/link_owner.h"
#include "settings/exit_with_saving.h"
#include "settings/file_io.h"
#include "settings/settings_codec.h"
#include "settings/settings_messages.h"
#include "settings/settings_record.h"
#include "support/scratch_dir.h"

// The disk can be made to refuse a flush: these stand in for the C library's.
namespace {
std::atomic<bool> g_flushFails{false};
}  // namespace
extern "C" int fsync(int fd) {
  if (g_flushFails) {
    errno = EIO;
    return -1;
  }
  return static_cast<int>(::syscall(SYS_fsync, fd));
}
extern "C" int fdatasync(int fd) {
  if (g_flushFails) {
    errno = EIO;
    return -1;
  }
  return static_cast<int>(::syscall(SYS_fdatasync, fd));
}

namespace m2 {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The expected bytes, written out from the file's layout table independently of the code.
class Golden {
 public:
  void I(int v) {
    for (int i = 0; i < 4; ++i)
      b.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
  }
  void S(const std::string& s) {
    if (s.size() < 255) {
      b.push_back(static_cast<std::uint8_t>(s.size()));
    } else {
      b.push_back(0xFF);
      b.push_back(static_cast<std::uint8_t>(s.size()));
      b.push_back(static_cast<std::uint8_t>(s.size() >> 8));
    }
    b.insert(b.end(), s.begin(), s.end());
  }
  void Tel(const AnalogPortSettings& a, bool tel1) {
    I(a.m_nHlcType);
    S(a.m_strOwnAddress);
    S(a.m_strOwnSubAddress);
    I(a.m_bNotifyCallerNumber);
    if (tel1) I(a.m_bPolarityReversal);
    I(a.m_bGlobalIncoming);
    I(a.m_bIncomingNoSubAddress);
    I(a.m_bDiscriminateIncoming);
    I(a.m_bHlcDiscriminate);
    I(a.m_nDialDigitTimer);
    I(a.m_nTransmitPad);
    I(a.m_nReceivePad);
  }
  void Flex(const FlexphoneSettings& f) {
    I(f.m_bCwBusyIncoming);
    I(f.m_nHookAcceptTime);
    I(f.m_nHookDetectTime);
    S(f.m_strTransferAddress);
    I(f.m_bTransferTalk);
    I(f.m_bTransferSourceTalk);
    I(f.m_nTransferStart);
    I(f.m_nTransferRings);
  }
  void List(const NumberList& l) {
    I(l.m_nCount);
    for (const auto& e : l.m_aEntry) {
      I(e.m_bUsed);
      S(e.m_strName);
      S(e.m_strAddress);
      S(e.m_strSubAddress);
    }
  }
  void All(const SettingsData& d) {
    I(d.m_nFileMark);
    Tel(d.m_tel1, true);
    Flex(d.m_tel1Flex);
    Tel(d.m_tel2, false);
    Flex(d.m_tel2Flex);
    const auto& c = d.m_common;
    I(c.m_bCallWaiting);
    I(c.m_nCallWaitingType);
    I(c.m_bTransferDuringCall);
    I(c.m_bThreePartyCall);
    I(c.m_bIncomingTransfer);
    I(c.m_nPriorityIncoming);
    const auto& g = d.m_dataGen;
    I(g.m_nProtocol);
    S(g.m_strOwnAddress);
    S(g.m_strOwnSubAddress);
    I(g.m_bNotifyCallerNumber);
    I(g.m_bGlobalIncoming);
    I(g.m_bIncomingNoSubAddress);
    I(g.m_bDiscriminateIncoming);
    I(g.m_bHlcDiscriminate);
    I(g.m_bCallbackIncoming);
    I(g.m_nAutoAnswer);
    I(g.m_nAnswerRings);
    I(d.m_dataFlow.m_nFlowControl);
    I(d.m_dataFlow.m_nErSignal);
    I(d.m_dataFlow.m_nCdSignal);
    I(d.m_dataFlow.m_nDrSignal);
    I(d.m_dataAt.m_bEcho);
    I(d.m_dataAt.m_bResultCodes);
    I(d.m_dataAt.m_nResultFormat);
    I(d.m_dataAt.m_nCodeSet);
    I(d.m_pcPort.m_nSpeed);
    I(d.m_pcPort.m_nComPort);
    I(d.m_pcPort.m_nDataFormat);
    List(d.m_discTel1);
    List(d.m_discTel2);
    List(d.m_shortDialData);
    List(d.m_discData);
  }
  Bytes b;
};

// Every integer distinct, so any value out of its place shows; strings of the lengths
// where the prefix changes form, and a CP932 name.
SettingsData KnownRecord() {
  SettingsData d;
  int next = 1000;
  auto tel = [&](AnalogPortSettings& a) {
    for (int* p :
         {&a.m_nHlcType, &a.m_bNotifyCallerNumber, &a.m_bPolarityReversal, &a.m_bGlobalIncoming,
          &a.m_bIncomingNoSubAddress, &a.m_bDiscriminateIncoming, &a.m_bHlcDiscriminate,
          &a.m_nDialDigitTimer, &a.m_nTransmitPad, &a.m_nReceivePad})
      *p = next++;
  };
  auto flex = [&](FlexphoneSettings& f) {
    for (int* p :
         {&f.m_bCwBusyIncoming, &f.m_nHookAcceptTime, &f.m_nHookDetectTime, &f.m_bTransferTalk,
          &f.m_bTransferSourceTalk, &f.m_nTransferStart, &f.m_nTransferRings})
      *p = next++;
  };
  d.m_nFileMark = -7;  // negative: two's complement
  tel(d.m_tel1);
  flex(d.m_tel1Flex);
  tel(d.m_tel2);
  flex(d.m_tel2Flex);
  d.m_tel2.m_bPolarityReversal = 0;  // TEL2 has no slot for it
  auto& c = d.m_common;
  for (int* p : {&c.m_bCallWaiting, &c.m_nCallWaitingType, &c.m_bTransferDuringCall,
                 &c.m_bThreePartyCall, &c.m_bIncomingTransfer, &c.m_nPriorityIncoming})
    *p = next++;
  auto& g = d.m_dataGen;
  for (int* p : {&g.m_nProtocol, &g.m_bNotifyCallerNumber, &g.m_bDiscriminateIncoming,
                 &g.m_bGlobalIncoming, &g.m_bIncomingNoSubAddress, &g.m_bHlcDiscriminate,
                 &g.m_bCallbackIncoming, &g.m_nAutoAnswer, &g.m_nAnswerRings})
    *p = next++;
  for (int* p : {&d.m_dataFlow.m_nFlowControl, &d.m_dataFlow.m_nErSignal, &d.m_dataFlow.m_nCdSignal,
                 &d.m_dataFlow.m_nDrSignal, &d.m_dataAt.m_bEcho, &d.m_dataAt.m_bResultCodes,
                 &d.m_dataAt.m_nResultFormat, &d.m_dataAt.m_nCodeSet, &d.m_pcPort.m_nSpeed,
                 &d.m_pcPort.m_nComPort, &d.m_pcPort.m_nDataFormat})
    *p = next++;
  for (NumberList* l : {&d.m_discTel1, &d.m_discTel2, &d.m_shortDialData, &d.m_discData}) {
    l->m_nCount = next++;
    for (auto& e : l->m_aEntry) e.m_bUsed = next++;
  }
  d.m_tel1.m_strOwnAddress = "0312345678";
  d.m_tel1.m_strOwnSubAddress = "5";                          // length 1
  d.m_tel1Flex.m_strTransferAddress = std::string(254, '7');  // the longest one-byte prefix
  d.m_dataGen.m_strOwnAddress = std::string(255, '9');        // the first FF-prefixed length
  d.m_discTel1.m_aEntry[3].m_strName = "\x8E\x52\x93\x63\xB2\xC1\xDB\xB3";  // 山田ｲﾁﾛｳ
  d.m_discData.m_aEntry[9].m_strSubAddress = "#*";
  return d;
}

TEST(SettingsFileBytes, MatchTheLayoutByteForByte) {
  const SettingsData d = KnownRecord();
  Golden g;
  g.All(d);
  const Bytes encoded = EncodeSettingsFile(d);
  ASSERT_EQ(encoded.size(), g.b.size());
  for (std::size_t i = 0; i < encoded.size(); ++i)
    ASSERT_EQ(encoded[i], g.b[i]) << "first difference at byte " << i;
  auto decoded = DecodeSettingsFile(encoded);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(*decoded, d);
}

TEST(SettingsFileBytes, EmptyStringsGive544Bytes) {
  EXPECT_EQ(EncodeSettingsFile(SettingsData{}).size(), 544u);
  EXPECT_EQ(EncodeSettingsFile(DefaultSettingsData()).size(), 544u);
}

TEST(SettingsFileBytes, StringPrefixForms) {
  struct Row {
    std::size_t length;
    Bytes prefix;
  };
  const Row rows[] = {
      {0, {0x00}},
      {1, {0x01}},
      {254, {0xFE}},
      {255, {0xFF, 0xFF, 0x00}},
      {0xFFFD, {0xFF, 0xFD, 0xFF}},
      {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
      {0x12345, {0xFF, 0xFF, 0xFF, 0x45, 0x23, 0x01, 0x00}},
  };
  for (const Row& r : rows) {
    Bytes out;
    AppendStringPrefix(out, r.length);
    EXPECT_EQ(out, r.prefix) << "length " << r.length;
  }
}

TEST(SettingsFileBytes, LongStringsRoundTripInEveryPrefixForm) {
  for (std::size_t length : {std::size_t{0xFFFD}, std::size_t{0xFFFE}, std::size_t{70000}}) {
    SettingsData d = DefaultSettingsData();
    d.m_discData.m_aEntry[9].m_strName = std::string(length, 'n');
    auto back = DecodeSettingsFile(EncodeSettingsFile(d));
    ASSERT_TRUE(back) << length;
    EXPECT_EQ(*back, d);
  }
}

// The file with `drop` bytes at `at` replaced by `put`.
Bytes Splice(const Bytes& file, std::size_t at, std::size_t drop, const Bytes& put) {
  Bytes out(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(at));
  out.insert(out.end(), put.begin(), put.end());
  out.insert(out.end(), file.begin() + static_cast<std::ptrdiff_t>(at + drop), file.end());
  return out;
}

TEST(SettingsFileBytes, DamagedFilesAreRefused) {
  const Bytes good = EncodeSettingsFile(KnownRecord());
  // Every proper prefix is a truncated file.
  for (std::size_t n = 0; n < good.size(); ++n)
    ASSERT_FALSE(DecodeSettingsFile(std::span(good.data(), n))) << "length " << n;
  Bytes trailing = good;
  trailing.push_back(0);
  EXPECT_FALSE(DecodeSettingsFile(trailing));

  // A length prefix far past the end, in each form, at the first string (TEL1 address).
  const std::size_t firstString = 4 + 4;
  for (const Bytes& prefix : {Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F},
                              Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
                              Bytes{0xFF, 0x00, 0xF0}})
    EXPECT_FALSE(DecodeSettingsFile(Splice(good, firstString, 1 + 10, prefix)));

  // The 3-byte form holding 0xFFFE, with that many bytes after it: refused for the value.
  SettingsData d = DefaultSettingsData();
  d.m_tel1.m_strOwnAddress = std::string(0xFFFE, '1');
  const Bytes longForm = EncodeSettingsFile(d);
  const Bytes sevenBytes{0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00};
  ASSERT_TRUE(std::equal(sevenBytes.begin(), sevenBytes.end(), longForm.begin() + firstString));
  EXPECT_FALSE(DecodeSettingsFile(Splice(longForm, firstString, 7, {0xFF, 0xFE, 0xFF})));
}

class SettingsFileOnDisk : public ::testing::Test {
 protected:
  std::filesystem::path File() const { return dir.path() / "M2SetupV100.dat"; }
  CKB45mRXObj RecordAt(const std::filesystem::path& file) {
    CKB45mRXObj r;
    r.SetFilePath(file);
    return r;
  }
  static void WriteBytes(const std::filesystem::path& file, const Bytes& bytes) {
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  static Bytes ReadBytes(const std::filesystem::path& file) {
    return ReadWholeFile(file, 1 << 24).value_or(Bytes{});
  }
  test::ScratchDir dir;
  ConsoleDialogs dialogs{nullptr};
  BlockingBurstWaiter waiter;
  LinkOwner link{dialogs, waiter};
};

TEST_F(SettingsFileOnDisk, NameComesFromTheVersionString) {
  CKB45mRXObj r;
  EXPECT_EQ(r.m_strVersion, "V100");
  EXPECT_EQ(r.FilePath(), std::filesystem::path("M2SetupV100.dat"));
  r.m_strVersion = "V200";
  EXPECT_EQ(r.FilePath(), std::filesystem::path("M2SetupV200.dat"));
}

TEST_F(SettingsFileOnDisk, MissingFileGivesTheDefaultsAndCreatesNothing) {
  CKB45mRXObj r = RecordAt(File());
  r.m_data = KnownRecord();
  EXPECT_EQ(r.LoadFile(0, link), 0);
  EXPECT_EQ(r.m_data, DefaultSettingsData());
  EXPECT_NE(r.m_hDefData, nullptr);
  EXPECT_EQ(r.m_bModified, 0);
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_FALSE(std::filesystem::exists(File()));
}

TEST_F(SettingsFileOnDisk, MissingOrCorruptFileWithReportReportsMessage11AndKeepsTheRecord) {
  for (bool corrupt : {false, true}) {
    if (corrupt) WriteBytes(File(), {1, 0, 0});
    dialogs.clear();
    link.lastErrorCode = 0;
    CKB45mRXObj r = RecordAt(File());
    r.m_data = KnownRecord();
    EXPECT_EQ(r.LoadFile(1, link), 0);
    EXPECT_EQ(r.m_data, KnownRecord());
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0], "設定保存ﾌｧｲﾙが存在しません");
    EXPECT_EQ(link.lastErrorCode, 11) << "corrupt " << corrupt;
  }
}

TEST_F(SettingsFileOnDisk, SaveThenLoadGivesTheSameRecord) {
  CKB45mRXObj out = RecordAt(File());
  out.m_data = KnownRecord();
  ASSERT_TRUE(out.SaveFile());
  CKB45mRXObj in = RecordAt(File());
  EXPECT_EQ(in.LoadFile(0, link), 1);
  EXPECT_EQ(in.m_data, out.m_data);
  EXPECT_EQ(in.m_bModified, 0);

  out.m_data = DefaultSettingsData();
  ASSERT_TRUE(out.SaveFile());
  EXPECT_EQ(std::filesystem::file_size(File()), 544u);
  EXPECT_EQ(in.LoadFile(0, link), 1);
  EXPECT_EQ(in.m_data, DefaultSettingsData());
}

TEST_F(SettingsFileOnDisk, TruncatedFilesAtEveryLengthFallBackToTheDefaults) {
  const Bytes good = EncodeSettingsFile(KnownRecord());
  for (std::size_t n = 0; n < good.size(); n += (n < 600 ? 1 : 37)) {
    WriteBytes(File(), Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)));
    CKB45mRXObj r = RecordAt(File());
    r.m_data = KnownRecord();
    ASSERT_EQ(r.LoadFile(0, link), 0) << "length " << n;
    ASSERT_EQ(r.m_data, DefaultSettingsData()) << "length " << n;
  }
}

TEST_F(SettingsFileOnDisk, ADirectoryAFifoOrAHugeFileIsNotASettingsFile) {
  std::filesystem::create_directory(File());
  CKB45mRXObj r = RecordAt(File());
  EXPECT_EQ(r.LoadFile(0, link), 0);
  EXPECT_EQ(r.m_data, DefaultSettingsData());
  std::filesystem::remove(File());

  ASSERT_EQ(mkfifo(File().c_str(), 0644), 0);  // no writer: opening it must not wait for one
  r.m_data = KnownRecord();
  EXPECT_EQ(r.LoadFile(0, link), 0);
  EXPECT_EQ(r.m_data, DefaultSettingsData());
  std::filesystem::remove(File());

  std::filesystem::resize_file((WriteBytes(File(), {}), File()), 8u << 20);
  EXPECT_EQ(r.LoadFile(0, link), 0);
}

TEST_F(SettingsFileOnDisk, ARejectedFileIsKeptAsBadOnceAndNeverOverwritten) {
  const Bytes corrupt{1, 0, 0, 0, 7};
  const struct {
    Bytes bytes;
    const char* keptAs;
  } rounds[] = {{corrupt, ".bad"}, {{9}, ".bad.1"}};
  for (const auto& [bytes, keptAs] : rounds) {
    WriteBytes(File(), bytes);
    CKB45mRXObj r = RecordAt(File());
    ASSERT_EQ(r.LoadFile(0, link), 0);
    r.m_bModified = 1;
    dialogs.clear();
    EXPECT_EQ(ExitWithSaving(r, link), 1);
    const std::string kept = File().string() + keptAs;
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{KeptBadFileText(kept)});
    EXPECT_EQ(ReadBytes(kept), bytes);
    EXPECT_EQ(ReadBytes(File()), EncodeSettingsFile(DefaultSettingsData()));
  }
  EXPECT_EQ(ReadBytes(File().string() + ".bad"), corrupt);
  // Over a file that loads, nothing is kept and nothing said.
  CKB45mRXObj r = RecordAt(File());
  ASSERT_EQ(r.LoadFile(0, link), 1);
  r.m_bModified = 1;
  dialogs.clear();
  EXPECT_EQ(ExitWithSaving(r, link), 1);
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
}

TEST_F(SettingsFileOnDisk, SaveKeepsThePermissionBits) {
  CKB45mRXObj r = RecordAt(File());
  r.m_data = KnownRecord();
  for (mode_t mode : {0600, 0640}) {
    ASSERT_TRUE(r.SaveFile());
    ASSERT_EQ(chmod(File().c_str(), mode), 0);
    ASSERT_TRUE(r.SaveFile());
    struct stat st {};
    ASSERT_EQ(stat(File().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, mode);
  }
}

TEST_F(SettingsFileOnDisk, SaveRemovesTemporariesLeftByKilledSaves) {
  pid_t dead = fork();
  if (dead == 0) _exit(0);
  waitpid(dead, nullptr, 0);  // its PID now names no process
  const auto temp = [&](pid_t pid) {
    return dir.path() / (".M2SetupV100.dat.tmp-" + std::to_string(pid) + "-0");
  };
  for (pid_t pid : {dead, getpid(), pid_t{1}}) WriteBytes(temp(pid), {1});
  CKB45mRXObj r = RecordAt(File());
  r.m_data = KnownRecord();
  ASSERT_TRUE(r.SaveFile());
  EXPECT_FALSE(std::filesystem::exists(temp(dead)));
  EXPECT_TRUE(std::filesystem::exists(temp(getpid())));  // a live writer's file stays
  EXPECT_TRUE(std::filesystem::exists(temp(1)));
}

// Runs fn in a child process and returns its exit status. Unprivileged: as nobody when we
// are root, so that directory permissions apply.
template <class Fn>
int InChild(bool unprivileged, Fn fn) {
  pid_t pid = fork();
  if (pid == 0) {
    if (unprivileged && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(99);
    _exit(fn());
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(SettingsFileOnDisk, SaveIntoAReadOnlyDirectoryFailsAndKeepsTheOldFile) {
  CKB45mRXObj r = RecordAt(File());
  r.m_data = KnownRecord();
  ASSERT_TRUE(r.SaveFile());
  const Bytes before = ReadBytes(File());
  ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
  ASSERT_EQ(chmod(File().c_str(), 0666), 0);  // the file itself stays writable
  r.m_data = DefaultSettingsData();
  const int status = InChild(true, [&] { return r.SaveFile() ? 0 : 1; });
  chmod(dir.path().c_str(), 0755);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(ReadBytes(File()), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(SettingsFileOnDisk, SaveOnAFullDiskFailsAndKeepsTheOldFile) {
  CKB45mRXObj r = RecordAt(File());
  r.m_data = DefaultSettingsData();
  ASSERT_TRUE(r.SaveFile());
  const Bytes before = ReadBytes(File());
  r.m_data = KnownRecord();  // longer than the limit below
  const int status = InChild(false, [&] {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{300, 300};
    setrlimit(RLIMIT_FSIZE, &limit);
    return r.SaveFile() ? 0 : 1;
  });
  EXPECT_EQ(status, 1);
  EXPECT_EQ(ReadBytes(File()), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
      << "the temporary file is removed";
}

TEST_F(SettingsFileOnDisk, SaveWhoseFlushFailsFailsAndKeepsTheOldFile) {
  CKB45mRXObj r = RecordAt(File());
  r.m_data = DefaultSettingsData();
  ASSERT_TRUE(r.SaveFile());
  const Bytes before = ReadBytes(File());
  r.m_data = KnownRecord();
  g_flushFails = true;
  const auto saved = r.SaveFile();
  g_flushFails = false;
  EXPECT_FALSE(saved) << "data the disk has not confirmed is not a save";
  EXPECT_EQ(ReadBytes(File()), before);
}

TEST_F(SettingsFileOnDisk, SaveThroughASymbolicLinkReplacesItsTarget) {
  std::filesystem::create_directory(dir.path() / "elsewhere");
  const std::filesystem::path target = dir.path() / "elsewhere" / "real.dat";
  CKB45mRXObj old = RecordAt(target);
  old.m_data = DefaultSettingsData();
  ASSERT_TRUE(old.SaveFile());
  std::filesystem::create_symlink("elsewhere/real.dat", File());
  CKB45mRXObj r = RecordAt(File());
  r.m_data = KnownRecord();
  ASSERT_TRUE(r.SaveFile());
  ASSERT_TRUE(std::filesystem::is_symlink(File()));
  EXPECT_EQ(std::filesystem::read_symlink(File()), "elsewhere/real.dat");
  CKB45mRXObj in = RecordAt(target);
  EXPECT_EQ(in.LoadFile(0, link), 1);
  EXPECT_EQ(in.m_data, KnownRecord());
}

TEST_F(SettingsFileOnDisk, SaveKilledAtAnyPointLeavesTheOldOrTheNewFile) {
  SettingsData a = KnownRecord();
  SettingsData b = DefaultSettingsData();
  b.m_discData.m_aEntry[0].m_strName = std::string(3000, 'b');  // sizes differ a lot
  {
    CKB45mRXObj r = RecordAt(File());
    r.m_data = a;
    ASSERT_TRUE(r.SaveFile());
  }
  for (int round = 0; round < 12; ++round) {
    int pipeFd[2];
    ASSERT_EQ(pipe(pipeFd), 0);
    pid_t pid = fork();
    if (pid == 0) {
      close(pipeFd[0]);
      CKB45mRXObj r = RecordAt(File());
      for (int i = 0;; ++i) {
        r.m_data = i % 2 ? a : b;
        if (!r.SaveFile()) _exit(2);
        char tick = 1;
        if (write(pipeFd[1], &tick, 1) != 1) _exit(3);
      }
    }
    close(pipeFd[1]);
    // Let the child finish a varying number of saves, then kill it wherever it is.
    char tick;
    for (int i = 0; i < 1 + round * 3; ++i) ASSERT_EQ(read(pipeFd[0], &tick, 1), 1);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    close(pipeFd[0]);

    CKB45mRXObj r = RecordAt(File());
    ASSERT_EQ(r.LoadFile(0, link), 1) << "round " << round;
    EXPECT_TRUE(r.m_data == a || r.m_data == b) << "round " << round;
  }
}

}  // namespace
}  // namespace m2
