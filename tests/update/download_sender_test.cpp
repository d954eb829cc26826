// The XMODEM sender against a fake link and a clock that moves only when told. The test
// thread plays both the display (stepping received bytes) and the TA.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "test_support.h"
#include "update/download_file.h"
#include "update/update_messages.h"
#include "update/xmodem_check.h"

namespace m2 {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::Event;
using State = DownloadSender::State;
namespace x = xmodem;

class SenderTest : public ::testing::Test {
 public:
  void SetUp() override {
    sender = std::make_unique<DownloadSender>(link, clock);
    senderPtr = sender.get();
  }

  void start(std::size_t size) {
    contents = test::Pattern(size);
    file = std::make_unique<test::TempFile>(contents);
    ASSERT_EQ(sender->StartUpdate(1, {file->path()}, &owner), 0);
    ASSERT_EQ(sender->state(), State::AwaitStart);
  }
  void rx(std::uint8_t byte) { sender->Step(byte); }
  // Starts in CRC mode and acknowledges every block: the sender then waits for the ACK of EOT.
  void sendAllBlocks(std::size_t size, std::uint8_t startChar = x::C) {
    start(size);
    rx(startChar);
    for (std::uint64_t i = 0; i < sender->blockCount(); ++i) rx(x::ACK);
    ASSERT_EQ(link.last(), Bytes{x::EOT});
  }
  Bytes expectedData(std::size_t block) const {
    Bytes data(1024, 0);
    for (std::size_t i = 0; i < 1024 && block * 1024 + i < contents.size(); ++i)
      data[i] = contents[block * 1024 + i];
    return data;
  }

  test::ManualClock clock;
  test::FakeLink link;
  DownloadSender* senderPtr = nullptr;
  test::RecordingOwner owner{senderPtr};
  Bytes contents;
  std::unique_ptr<test::TempFile> file;
  std::unique_ptr<DownloadSender> sender;
};

TEST_F(SenderTest, StartCharacterChoosesTheCheck) {
  struct Row {
    std::uint8_t start;
    std::size_t frameLength;
  };
  for (const Row row : {Row{x::C, 1029}, Row{x::NAK, 1028}}) {
    SCOPED_TRACE(row.start);
    start(1500);
    rx(row.start);
    const Bytes frame = link.last();
    ASSERT_EQ(frame.size(), row.frameLength);
    EXPECT_EQ(frame[0], x::STX);
    EXPECT_EQ(frame[1], 1);
    EXPECT_EQ(frame[2], 254);
    EXPECT_EQ(Bytes(frame.begin() + 3, frame.begin() + 1027), expectedData(0));
    if (row.start == x::C) {
      const std::uint16_t crc = Crc16Xmodem(frame.data() + 3, 1024);
      EXPECT_EQ(frame[1027], crc >> 8);
      EXPECT_EQ(frame[1028], crc & 0xFF);
    } else {
      EXPECT_EQ(frame[1027], Checksum8(frame.data() + 3, 1024));
    }
    rx(x::ACK);
    const Bytes second = link.last();
    EXPECT_EQ(Bytes(second.begin() + 3, second.begin() + 1027), expectedData(1))
        << "second block: 476 bytes then zero padding";
    sender->Stop();
  }
}

TEST_F(SenderTest, NormalCourseEventsAndStates) {
  sendAllBlocks(3000);
  EXPECT_EQ(link.count(), 4u) << "three blocks and EOT";
  EXPECT_EQ(sender->state(), State::EotSent);
  rx(x::ACK);
  ASSERT_TRUE(owner.waitFor(kEventEotAcknowledged));
  EXPECT_EQ(owner.events(), (std::vector<Event>{{2, 0}, {3, 0}, {3, 0}, {4, 0}}));
  EXPECT_EQ(sender->state(), State::TransferDone);
  EXPECT_EQ(link.count(), 4u) << "nothing is written after EOT's acknowledgement";
}

TEST_F(SenderTest, RepeatRequestMustMatchTheCheckMode) {
  struct Row {
    std::uint8_t start, ignored, repeat;
  };
  for (const Row row : {Row{x::C, x::NAK, x::C}, Row{x::NAK, x::C, x::NAK}}) {
    SCOPED_TRACE(row.start);
    const std::size_t events3 = owner.countOf(kEventNextBlock);
    start(5000);
    rx(row.start);
    rx(x::ACK);
    const Bytes block2 = link.last();
    rx(row.ignored);
    EXPECT_EQ(link.count(), 2u) << "mismatched request neither repeats nor acknowledges";
    rx(row.repeat);
    rx(row.repeat);
    ASSERT_EQ(link.count(), 4u);
    EXPECT_EQ(link.last(), block2) << "same number, same data";
    rx(x::ACK);
    EXPECT_EQ(link.last()[1], 3);
    EXPECT_EQ(owner.countOf(kEventNextBlock) - events3, 2u) << "repeats give no event 3";
    sender->Stop();
    link.reset();
  }
}

TEST_F(SenderTest, EmptyFileIsAnsweredWithEotAtOnce) {
  start(0);
  EXPECT_EQ(sender->blockCount(), 0u);
  rx(x::C);
  EXPECT_EQ(link.frames(), std::vector<Bytes>{Bytes{x::EOT}});
  rx(x::ACK);
  ASSERT_TRUE(owner.waitFor(kEventEotAcknowledged));
  EXPECT_EQ(owner.events(), (std::vector<Event>{{4, 0}}));
}

TEST_F(SenderTest, BlockNumbersWrapThrough255And0) {
  start(300 * 1024);
  rx(x::C);
  for (int i = 1; i < 300; ++i) rx(x::ACK);
  const auto frames = link.frames();
  ASSERT_EQ(frames.size(), 300u);
  for (std::size_t i = 0; i < frames.size(); ++i) {
    EXPECT_EQ(frames[i][1], (i + 1) & 0xFF) << "block " << i + 1;
    EXPECT_EQ(frames[i][2], 255 - ((i + 1) & 0xFF));
  }
  EXPECT_EQ(frames[254][1], 255);
  EXPECT_EQ(frames[255][1], 0);
  EXPECT_EQ(frames[256][1], 1);
  EXPECT_EQ(Bytes(frames[299].begin() + 3, frames[299].begin() + 1027), expectedData(299));
  EXPECT_EQ(owner.countOf(kEventNextBlock), 299u);
}

TEST_F(SenderTest, NakAfterEotGetsThreeEots) {
  sendAllBlocks(10);
  rx(x::NAK);
  EXPECT_EQ(link.last(), (Bytes{x::EOT, x::EOT, x::EOT}));
  EXPECT_EQ(owner.countOf(kEventEotAcknowledged), 0u);
  rx(x::ACK);
  ASSERT_TRUE(owner.waitFor(kEventEotAcknowledged));
}

// The worker is asleep until the running timer when the CAN arrives, so the CAN's own step
// must wake it: nothing else would until the timer.
TEST_F(SenderTest, ReceiverCancelIsAnsweredWithOneCanInStates1To5) {
  struct Row {
    const char* name;
    std::function<void(SenderTest&)> reach;
    State state;
    std::chrono::milliseconds timer;
  };
  const std::vector<Row> rows = {
      {"AwaitStart", [](SenderTest&) {}, State::AwaitStart, DownloadSender::kStartTime},
      {"FirstBlockSent", [](SenderTest& t) { t.rx(x::C); }, State::FirstBlockSent,
       DownloadSender::kReplyTime},
      {"BlockSent", [](SenderTest& t) { t.rx(x::C), t.rx(x::ACK); }, State::BlockSent,
       DownloadSender::kReplyTime},
      {"EotSent", [](SenderTest& t) { t.rx(x::C), t.rx(x::ACK), t.rx(x::ACK); }, State::EotSent,
       DownloadSender::kReplyTime},
      {"CancelRequested",
       [](SenderTest& t) {
         t.rx(x::C);
         EXPECT_EQ(t.sender->RequestCancel(), DownloadSender::CancelOutcome::Requested);
       },
       State::CancelRequested, DownloadSender::kReplyTime},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    link.reset();
    owner.setTimes = false;
    test::RecordingOwner local{senderPtr};
    contents = test::Pattern(2000);
    file = std::make_unique<test::TempFile>(contents);
    ASSERT_EQ(sender->StartUpdate(1, {file->path()}, &local), 0);
    row.reach(*this);
    ASSERT_EQ(sender->state(), row.state);
    ASSERT_TRUE(clock.waitForSleeper(clock.now() + row.timer));
    const std::size_t before = link.count();
    rx(x::CAN);
    ASSERT_TRUE(local.waitFor(kEventReceiverCancelled));
    EXPECT_EQ(local.events().back(), (Event{6, kCodeCancelledByTa}));
    ASSERT_EQ(link.count(), before + 1);
    EXPECT_EQ(link.last(), Bytes{x::CAN});
    EXPECT_EQ(sender->state(), State::Stopped);
    sender->Stop();
  }
}

TEST_F(SenderTest, UserCancelWaitsForTheNextReplyAndTheReceiversCan) {
  start(5000);
  rx(x::C);
  EXPECT_EQ(sender->RequestCancel(), DownloadSender::CancelOutcome::Requested);
  EXPECT_EQ(link.count(), 1u) << "nothing is sent until the receiver answers";
  rx(x::NAK);  // CRC mode: not an answer
  EXPECT_EQ(link.count(), 1u);
  rx(x::ACK);
  EXPECT_EQ(link.last(), (Bytes{x::CAN, x::CAN, x::CAN}));
  rx(x::ACK);
  EXPECT_EQ(owner.countOf(kEventCancelled), 0u) << "only the receiver's CAN completes it";
  rx(x::CAN);
  ASSERT_TRUE(owner.waitFor(kEventCancelled));
  EXPECT_EQ(owner.events().back(), (Event{5, kCodeUserAbort}));
}

TEST_F(SenderTest, UserCancelEndsIn54WhenTheReceiverStaysSilent) {
  start(5000);
  rx(x::C);
  sender->RequestCancel();
  rx(x::C);  // a repeat request answers the cancellation too
  EXPECT_EQ(link.last(), (Bytes{x::CAN, x::CAN, x::CAN}));
  clock.advance(10s);
  ASSERT_TRUE(owner.waitFor(kEventFailed));
  EXPECT_EQ(owner.events().back(), (Event{7, kCodeReplyTimeout}));
}

TEST_F(SenderTest, TimeoutsByStateAndBoundary) {
  struct Row {
    const char* name;
    std::function<void(SenderTest&)> reach;
    std::chrono::milliseconds limit;
    int code;
  };
  const std::vector<Row> rows = {
      {"no start character", [](SenderTest&) {}, 20000ms, kCodeNoAnswer},
      {"no reply to block 1", [](SenderTest& t) { t.rx(x::C); }, 10000ms, kCodeReplyTimeout},
      {"no reply to a repeat", [](SenderTest& t) { t.rx(x::C), t.rx(x::ACK), t.rx(x::C); }, 10000ms,
       kCodeReplyTimeout},
      {"no reply to EOT", [](SenderTest& t) { t.rx(x::C), t.rx(x::ACK), t.rx(x::ACK); }, 10000ms,
       kCodeReplyTimeout},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    test::RecordingOwner local{senderPtr};
    contents = test::Pattern(2000);
    file = std::make_unique<test::TempFile>(contents);
    ASSERT_EQ(sender->StartUpdate(1, {file->path()}, &local), 0);
    row.reach(*this);
    const State waiting = sender->state();
    clock.advance(row.limit - 1ms);
    rx(0);  // a step on this thread: had the timer expired, the state would have changed
    EXPECT_EQ(sender->state(), waiting);
    clock.advance(1ms);
    ASSERT_TRUE(local.waitFor(kEventFailed));
    EXPECT_EQ(local.events().back(), (Event{7, row.code}));
    EXPECT_EQ(sender->state(), State::Stopped);
    sender->Stop();
  }
}

TEST_F(SenderTest, FlashWaitTicksEvery1200msAndEndsWith52After90s) {
  sendAllBlocks(10);
  rx(x::ACK);
  ASSERT_TRUE(owner.waitFor(kEventEotAcknowledged));
  rx(0);  // makes sure the flash-wait timers run from now on
  for (std::size_t tick = 1; tick <= 74; ++tick) {
    clock.advance(1200ms);
    ASSERT_TRUE(owner.waitFor(kEventFlashTick, tick)) << tick;
  }
  EXPECT_EQ(owner.countOf(kEventFailed), 0u);
  clock.advance(1200ms);  // 90 s after the first step in TransferDone
  ASSERT_TRUE(owner.waitFor(kEventFailed));
  EXPECT_EQ(owner.events().back(), (Event{7, kCodeNoAnswer}));
  EXPECT_EQ(owner.countOf(kEventFlashTick), 74u);
}

TEST_F(SenderTest, StopWaitingEndsTheFlashWaitQuietly) {
  sendAllBlocks(10);
  rx(x::ACK);
  ASSERT_TRUE(owner.waitFor(kEventEotAcknowledged));
  rx(0);
  sender->StopWaiting();
  clock.advance(100s);
  rx(0);
  EXPECT_EQ(owner.countOf(kEventFailed), 0u) << "a stopped sender reports no late time-out";
  EXPECT_EQ(sender->state(), State::Stopped);
}

TEST_F(SenderTest, ReadFailureCancelsAndReportsOnTheReceiversCan) {
  start((DownloadFile::kReadAheadBlocks + 2) * 1024);
  rx(x::C);
  std::filesystem::resize_file(file->path(), 100);
  for (std::uint64_t n = 1; n < DownloadFile::kReadAheadBlocks; ++n) rx(x::ACK);
  rx(x::ACK);  // asks for the first block past what was read ahead
  EXPECT_EQ(link.last(), (Bytes{x::CAN, x::CAN, x::CAN}));
  EXPECT_EQ(sender->state(), State::TransferFailed);
  EXPECT_FALSE(sender->fileOpen());
  rx(x::CAN);
  ASSERT_TRUE(owner.waitFor(kEventFailed));
  EXPECT_EQ(owner.events().back(), (Event{7, kCodeFileRead}));
}

TEST_F(SenderTest, ReadFailureIsReportedWhenTheReplyTimerExpires) {
  start((DownloadFile::kReadAheadBlocks + 2) * 1024);
  rx(x::C);
  std::filesystem::resize_file(file->path(), 100);
  for (std::uint64_t n = 1; n < DownloadFile::kReadAheadBlocks; ++n) rx(x::ACK);
  rx(x::ACK);  // asks for the first block past what was read ahead
  clock.advance(10s);
  ASSERT_TRUE(owner.waitFor(kEventFailed));
  EXPECT_EQ(owner.events().back(), (Event{7, kCodeFileRead})) << "the first cause, not 54";
  rx(x::CAN);  // the TA's CAN, late: a stopped sender reports nothing more
  EXPECT_EQ(owner.countOf(kEventFailed), 1u);
}

TEST_F(SenderTest, FailedWriteIsReportedAtOnceWithTheFirstCause) {
  start((DownloadFile::kReadAheadBlocks + 2) * 1024);
  link.failWrites = true;
  EXPECT_EQ(sender->Step(x::C), kCodeWriteFailed);
  ASSERT_TRUE(owner.waitFor(kEventFailed));
  // Event 2 comes from this thread's step, event 7 from the next step on either thread:
  // across threads the order of delivery is not fixed.
  std::vector<Event> events = owner.events();
  std::ranges::sort(events, {}, &Event::event);
  EXPECT_EQ(events, (std::vector<Event>{{2, 0}, {7, kCodeWriteFailed}}));
  sender->Stop();

  // Read failure first, then the CAN cannot be written: the read failure is the cause.
  test::RecordingOwner local{senderPtr};
  link.failWrites = false;
  ASSERT_EQ(sender->StartUpdate(1, {file->path()}, &local), 0);
  rx(x::C);
  std::filesystem::resize_file(file->path(), 100);
  for (std::uint64_t n = 1; n < DownloadFile::kReadAheadBlocks; ++n) rx(x::ACK);
  link.failWrites = true;
  rx(x::ACK);
  ASSERT_TRUE(local.waitFor(kEventFailed));
  EXPECT_EQ(local.events().back(), (Event{7, kCodeFileRead}));
}

class NoThreadSender : public DownloadSender {
 public:
  using DownloadSender::DownloadSender;
  bool LaunchWorker() override { return false; }
};

TEST_F(SenderTest, StartFailuresLeaveNothingBehind) {
  struct Row {
    const char* name;
    std::function<std::string(SenderTest&)> path;
    bool failOpen;
    int code;
  };
  const std::vector<Row> rows = {
      {"missing", [](SenderTest&) { return std::string("/nonexistent/x.dlf"); }, false,
       kCodeFileNotFound},
      {"directory", [](SenderTest& t) { return t.file->dir().string(); }, false, kCodeFileOpen},
      {"port", [](SenderTest& t) { return t.file->path(); }, true, kCodePortOpen},
  };
  file = std::make_unique<test::TempFile>(test::Pattern(10));
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    link.failOpen = row.failOpen;
    EXPECT_EQ(sender->StartUpdate(1, {row.path(*this)}, &owner), row.code);
    sender->Stop();
    EXPECT_FALSE(sender->workerRunning());
    EXPECT_FALSE(sender->fileOpen());
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(link.window.load(), nullptr);
    EXPECT_EQ(sender->state(), State::Idle);
  }
  link.failOpen = false;

  NoThreadSender noThread(link, clock);
  EXPECT_EQ(noThread.StartUpdate(1, {file->path()}, &owner), kCodeWorker);
  EXPECT_FALSE(link.isOpen()) << "the port is opened after the worker";
  noThread.Stop();
  EXPECT_FALSE(noThread.fileOpen());
}

TEST_F(SenderTest, StopEndsEverythingAndTheSenderCanRunAgain) {
  start(3000);
  rx(x::C);
  sender->Stop();
  EXPECT_FALSE(sender->workerRunning());
  EXPECT_FALSE(link.isOpen());
  EXPECT_FALSE(sender->fileOpen());
  EXPECT_EQ(sender->state(), State::Idle);
  rx(x::ACK);
  EXPECT_EQ(link.count(), 1u) << "an idle sender writes nothing";

  link.reset();
  start(3000);
  rx(x::NAK);
  EXPECT_EQ(link.last().size(), 1028u);
  EXPECT_EQ(link.last()[1], 1) << "block numbering starts again";
}

TEST_F(SenderTest, TraceNamesEveryTransition) {
  std::vector<std::string> lines;
  sender->setTrace([&](std::string_view line) { lines.emplace_back(line); });
  start(10);
  rx(x::C);
  rx(x::ACK);
  sender->setTrace(nullptr);
  EXPECT_EQ(lines, (std::vector<std::string>{"Idle -> AwaitStart", "AwaitStart -> FirstBlockSent",
                                             "FirstBlockSent -> EotSent"}));
}

}  // namespace
}  // namespace m2
