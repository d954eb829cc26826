// One update as the progress dialog runs it: the real sender on a fake link and a manual
// clock, the test thread playing the TA through the link's chunk delivery.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "test_support.h"
#include "update/update_messages.h"

namespace m2 {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
namespace x = xmodem;
using PS = ProgressState;

class ProgressTest : public ::testing::Test {
 protected:
  void start(std::size_t size) {
    file = std::make_unique<test::TempFile>(test::Pattern(size));
    ASSERT_TRUE(progress.Start({file->path()}));
    ASSERT_EQ(progress.state(), PS::WaitingForTa);
  }
  void ta(std::initializer_list<std::uint8_t> bytes) { link.receive(Bytes(bytes)); }
  void ta(std::string_view text) { link.receive(text); }
  // CRC start and every block acknowledged; EOT is on the line.
  void transfer(std::size_t size) {
    start(size);
    ta({x::C});
    for (std::uint64_t i = 0; i < sender.blockCount(); ++i) ta({x::ACK});
    ASSERT_EQ(link.last(), Bytes{x::EOT});
  }
  void reachWritingFlash(std::size_t size) {
    transfer(size);
    ta({x::ACK});
    ASSERT_TRUE(view.waitForState(PS::WritingFlash));
  }
  std::vector<std::string> percentTexts() {
    std::vector<std::string> texts;
    for (const auto& f : view.renders())
      if (texts.empty() || texts.back() != f.percentText) texts.push_back(f.percentText);
    return texts;
  }

  test::ManualClock clock;
  test::FakeLink link;
  test::RecordingView view;
  std::unique_ptr<test::TempFile> file;
  DownloadSender sender{link, clock};
  UpdateProgress progress{sender, view};
};

TEST_F(ProgressTest, StartShowsWaitingWithTheAbortButton) {
  start(10);
  const auto f = view.lastFrame();
  EXPECT_EQ(f.message, "ｵﾙﾊﾞﾝﾃM-2KLXからの応答を待っています");
  EXPECT_EQ(f.button, "中止");
  EXPECT_EQ(f.percentText, "0");
  EXPECT_TRUE(link.isOpen());
}

TEST_F(ProgressTest, HundredTwentyBlocksStepTo39AndJumpTo50) {
  transfer(120 * 1024);
  EXPECT_EQ(progress.blocksPerPercent(), 3);
  EXPECT_EQ(progress.percent(), 39);
  EXPECT_EQ(view.lastFrame().message, "ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙを転送しています");
  EXPECT_EQ(view.lastFrame().button, "中止");
  ta({x::ACK});
  ASSERT_TRUE(view.waitForState(PS::WritingFlash));
  EXPECT_EQ(progress.percent(), 50);
  EXPECT_EQ(view.lastFrame().message, "FROMに書き込みしています");
  std::vector<std::string> expected;
  for (int p = 0; p <= 50; ++p) expected.push_back(std::to_string(p));
  EXPECT_EQ(percentTexts(), expected) << "every single step is shown";
}

TEST_F(ProgressTest, OneBlockFileJumpsFrom0To50) {
  transfer(1);
  EXPECT_EQ(progress.blocksPerPercent(), 1);
  EXPECT_EQ(progress.percent(), 0);
  ta({x::ACK});
  ASSERT_TRUE(view.waitForState(PS::WritingFlash));
  EXPECT_EQ(progress.percent(), 50);
}

TEST_F(ProgressTest, VerdictOutcomes) {
  struct Row {
    std::vector<std::string> chunks;
    PS state;
    std::string message;
  };
  const std::vector<Row> rows = {
      {{"FRO", "M update\r"}, PS::Done, "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟは完了しました"},
      {{"Write error\rFROM update\r"}, PS::Done, "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟは完了しました"},
      {{"CRC verify error\r"}, PS::Error, "ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙのCRCｴﾗｰです"},
      {{"Erasing ", "... ", "\r"}, PS::Error, "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟに失敗しました"},
      {{std::string(1000, '.'), std::string(25, '.')}, PS::Error, "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟに失敗しました"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.chunks.front().substr(0, 20));
    test::ManualClock localClock;
    test::FakeLink localLink;
    test::RecordingView localView;
    DownloadSender localSender(localLink, localClock);
    UpdateProgress p(localSender, localView);
    test::TempFile f(test::Pattern(10));
    ASSERT_TRUE(p.Start({f.path()}));
    localLink.receive(Bytes{x::C});
    localLink.receive(Bytes{x::ACK});
    localLink.receive(Bytes{x::ACK});
    ASSERT_TRUE(localView.waitForState(PS::WritingFlash));
    for (std::size_t i = 0; i < row.chunks.size(); ++i) {
      EXPECT_EQ(p.state(), PS::WritingFlash) << "still waiting before chunk " << i;
      localLink.receive(row.chunks[i]);
    }
    EXPECT_EQ(p.state(), row.state);
    EXPECT_EQ(localView.lastFrame().message, row.message);
    EXPECT_EQ(localView.lastFrame().button, "終了");
    EXPECT_EQ(p.percent(), row.state == PS::Done ? 100 : 50);
    EXPECT_EQ(localSender.state(), DownloadSender::State::Stopped);
    p.PressButton();
    EXPECT_TRUE(p.closed());
    EXPECT_FALSE(localLink.isOpen());
  }
}

TEST_F(ProgressTest, VerdictInTheSameChunkAsTheAckOfEotIsNotLost) {
  transfer(10);
  ta("\x06" "FROM update\r");
  ASSERT_TRUE(view.waitForState(PS::Done));
  EXPECT_EQ(progress.percent(), 100);
}

TEST_F(ProgressTest, NoVerdictIn90sGives52WithTheBarAt100) {
  reachWritingFlash(10);
  sender.Step(0);  // the flash-wait timers run from now on
  for (int p = 51; p <= 100; ++p) {
    clock.advance(1200ms);
    ASSERT_TRUE(view.waitUntil([&](const auto& f) { return f.percent == p; })) << p;
  }
  clock.advance(30s);
  ASSERT_TRUE(view.waitForState(PS::Error));
  EXPECT_EQ(view.lastFrame().message, "ｵﾙﾊﾞﾝﾃM-2KLXからの応答がありません");
  EXPECT_EQ(progress.percent(), 100);
}

TEST_F(ProgressTest, NakWithFiveCansIsIgnoredWhileWaiting) {
  start(10);
  ta({0x15, 0x18, 0x18, 0x18, 0x18, 0x18});
  ta({0x15, 0x18, 0x18, 0x18, 0x18, 0x18, 0x00, 0x41});  // read up to the first zero byte
  EXPECT_EQ(link.count(), 0u);
  EXPECT_EQ(progress.state(), PS::WaitingForTa);
  ta({0x15, 0x18, 0x18, 0x18, 0x18});  // four CANs: a NAK start, then the TA cancels
  ASSERT_TRUE(view.waitForState(PS::RefusedByTa));
  EXPECT_EQ(link.frames().front().size(), 1028u);
  EXPECT_EQ(view.lastFrame().message, "ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙの転送を取り消されました");
}

TEST_F(ProgressTest, ButtonWhileWaitingAbortsAtOnceThenCloses) {
  start(10);
  progress.PressButton();
  EXPECT_EQ(progress.state(), PS::Aborted);
  EXPECT_EQ(view.lastFrame().message, "ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙの転送を中止しました");
  EXPECT_EQ(view.lastFrame().button, "終了");
  EXPECT_EQ(view.closes(), 0);
  progress.PressButton();
  EXPECT_EQ(view.closes(), 1);
  EXPECT_FALSE(link.isOpen());
  EXPECT_FALSE(sender.fileOpen());
  EXPECT_FALSE(sender.workerRunning());
}

// The sender delivers an event after releasing its lock, so an event from a step that
// raced the verdict or the button can arrive once the outcome is shown. It changes nothing.
TEST(ProgressOutcome, LateEventsLeaveTheOutcomeShown) {
  const std::vector<std::pair<int, int>> late = {
      {kEventFirstBlock, 0},
      {kEventNextBlock, 0},
      {kEventEotAcknowledged, 0},
      {kEventCancelled, kCodeUserAbort},
      {kEventReceiverCancelled, kCodeCancelledByTa},
      {kEventFailed, kCodeNoAnswer},
      {kEventFlashTick, 0}};
  for (const bool verdict : {false, true}) {
    SCOPED_TRACE(verdict ? "verdict" : "aborted while waiting");
    test::ManualClock clock;
    test::FakeLink link;
    test::RecordingView view;
    DownloadSender sender(link, clock);
    UpdateProgress progress(sender, view);
    test::TempFile file(test::Pattern(10));
    ASSERT_TRUE(progress.Start({file.path()}));
    if (verdict) {
      for (const std::uint8_t byte : {x::C, x::ACK, x::ACK}) link.receive(Bytes{byte});
      ASSERT_TRUE(view.waitForState(PS::WritingFlash));
      link.receive("FROM update\r");
    } else {
      progress.PressButton();
    }
    const PS outcome = verdict ? PS::Done : PS::Aborted;
    ASSERT_EQ(progress.state(), outcome);
    const std::size_t shown = view.renders().size();
    const std::string message = progress.message();
    const int percent = progress.percent();
    for (const auto& [event, code] : late) progress.onSenderEvent(event, code);
    EXPECT_EQ(progress.state(), outcome);
    EXPECT_EQ(progress.message(), message);
    EXPECT_EQ(progress.percent(), percent);
    EXPECT_EQ(view.renders().size(), shown) << "nothing is drawn again";
  }
}

TEST_F(ProgressTest, ButtonWhileSendingWaitsForTheTasCan) {
  start(5000);
  ta({x::C});
  progress.PressButton();
  EXPECT_EQ(progress.state(), PS::Sending) << "the dialog waits for the sender";
  EXPECT_EQ(view.lastFrame().message, "ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙを転送しています");
  ta({x::ACK});
  EXPECT_EQ(link.last(), (Bytes{x::CAN, x::CAN, x::CAN}));
  ta({x::CAN});
  ASSERT_TRUE(view.waitForState(PS::Aborted));
  EXPECT_EQ(view.lastFrame().message, "ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙの転送を中止しました");
}

TEST_F(ProgressTest, ButtonAfterTheTransferAbandonsTheFlashWait) {
  reachWritingFlash(10);
  sender.Step(0);  // the flash-wait timers run
  progress.PressButton();
  EXPECT_EQ(progress.state(), PS::Aborted);
  // The sender's flash wait ends too, not only the dialog's.
  EXPECT_EQ(DownloadSender::StateName(sender.state()), "Stopped");
  EXPECT_EQ(view.lastFrame().message, "FROM書き込み待ちを中止しました");
  ta("FROM update\r");
  EXPECT_EQ(progress.state(), PS::Aborted) << "text after the outcome changes nothing";
}

TEST_F(ProgressTest, ButtonBetweenAckOfEotAndEvent4DoesNotHang) {
  transfer(10);
  // The ACK arrives and the button is pressed before the dialog has seen event 4: the
  // dialog still shows Sending while the sender has nothing left to cancel.
  sender.Step(x::ACK);
  ASSERT_TRUE(sender.eotAcknowledged());
  progress.PressButton();
  EXPECT_EQ(DownloadSender::StateName(sender.state()), "Stopped");
  ASSERT_TRUE(view.waitForState(PS::Aborted));
  EXPECT_EQ(view.lastFrame().message, "FROM書き込み待ちを中止しました");
}

TEST_F(ProgressTest, EscapeDuringTheTransferStopsAtOnceWithoutCan) {
  start(5000);
  ta({x::C});
  ta({x::ACK});
  const std::size_t written = link.count();
  progress.PressEscape();
  EXPECT_EQ(view.closes(), 1);
  EXPECT_EQ(link.count(), written);
  for (const auto& frame : link.frames()) EXPECT_NE(frame, Bytes{x::CAN});
  EXPECT_FALSE(link.isOpen());
  EXPECT_FALSE(sender.fileOpen());
  EXPECT_FALSE(sender.workerRunning());
  ta({x::ACK});
  EXPECT_EQ(link.count(), written);
}

TEST_F(ProgressTest, StartFailureShowsItsTextAndReleasesEverything) {
  link.failOpen = true;
  test::TempFile f(test::Pattern(10));
  EXPECT_FALSE(progress.Start({f.path()}));
  EXPECT_EQ(view.startFailures(), std::vector<std::string>{"ﾊﾟｿｺﾝ通信ﾎﾟｰﾄがｵｰﾌﾟﾝできません"});
  EXPECT_EQ(view.closes(), 1);
  EXPECT_FALSE(sender.fileOpen());
  EXPECT_FALSE(sender.workerRunning());

  test::RecordingView otherView;
  UpdateProgress other(sender, otherView);
  EXPECT_FALSE(other.Start({"/nonexistent.dlf"}));
  EXPECT_EQ(otherView.startFailures(), std::vector<std::string>{"指定されたﾌｧｲﾙが見つかりません"});
}

TEST_F(ProgressTest, EscapeRacingChunksNeverDeadlocks) {
  start(2000 * 1024);
  ta({x::C});
  std::atomic<bool> done{false};
  std::jthread acks([&] {
    while (!done) link.receive(Bytes{x::ACK});
  });
  ASSERT_TRUE(view.waitUntil([](const auto& f) { return f.percent >= 5; }));
  progress.PressEscape();
  done = true;
  acks.join();
  EXPECT_EQ(view.closes(), 1);
  EXPECT_FALSE(link.isOpen());
}

TEST_F(ProgressTest, EscapeRacingTicksNeverDeadlocks) {
  reachWritingFlash(10);
  sender.Step(0);
  std::atomic<bool> done{false};
  std::jthread ticks([&] {
    while (!done) {
      const int before = progress.percent();
      clock.advance(1200ms);
      view.waitUntil([&](const auto& f) { return done || f.percent > before; });
    }
  });
  ASSERT_TRUE(view.waitUntil([](const auto& f) { return f.percent >= 55; }));
  done = true;
  progress.PressEscape();
  ticks.join();
  EXPECT_EQ(view.closes(), 1);
  EXPECT_FALSE(sender.workerRunning());
}

}  // namespace
}  // namespace m2
