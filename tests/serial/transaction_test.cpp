// AT transactions against the simulator: bursts, silence, overflow and error results.
#include <signal.h>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "serial/at_session.h"
#include "support/ta_bench.h"

namespace m2 {
namespace {

using namespace std::chrono_literals;
using test::TaBench;

// Opens the link without identification, as `m2ctl at` does.
void Open(TaBench& b) { ASSERT_EQ(b.owner.ConnectTa(kDisplayMessageBox, nullptr, nullptr, 0), 1); }

TEST(Transaction, ReplyInSeveralBurstsIsCollectedWhole) {
  TaBench b({"--split-gap-ms", "150"}, 1000ms);
  Open(b);
  AtSession s;
  EXPECT_EQ(b.owner.AtTransact("ATI4\r", 0, nullptr, &s), kAtOk);
  EXPECT_EQ(s.responseText(), "ATI4\r\r\nORVANTE M-2KLX QRB Corporation\r\n\r\nOK\r\n");
  // Byte by byte for several silence times, never a silence long: the silence time starts
  // again with every burst.
  TaBench drip({"--drip-ms", "30"}, 250ms);
  Open(drip);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(drip.owner.AtTransact("ATI3\r", 0, nullptr, &s), kAtOk);
  EXPECT_GT(std::chrono::steady_clock::now() - start, 3 * 250ms);
  EXPECT_EQ(s.responseText(), "ATI3\r\r\nM-2KLX Ver 1.20 1999/04/01\r\n\r\nOK\r")
      << "collected up to the final result";
  EXPECT_TRUE(b.dialogs.messages().empty());
}

TEST(Transaction, GapLongerThanSilenceEndsWithError4) {
  TaBench b({"--split-gap-ms", "700"}, 300ms);
  Open(b);
  EXPECT_EQ(b.owner.AtTransact("ATI4\r", 0, nullptr), kAtFailed);
  EXPECT_EQ(b.owner.lastErrorCode, 4);
  ASSERT_EQ(b.dialogs.messages().size(), 1u);
  EXPECT_EQ(b.dialogs.messages()[0], TaBench::Text(4));
}

TEST(Transaction, SilenceIsAcceptedOnlyWhenLenientAfterDataOrWhileRestoring) {
  TaBench b({"--quiet"});
  Open(b);
  AtSession s;
  EXPECT_EQ(b.owner.AtTransact("ATI0\r", 1, nullptr, &s), kAtSilence);
  EXPECT_NE(s.responseText().find("M-2KLX"), std::string_view::npos);
  EXPECT_TRUE(b.dialogs.messages().empty());
  EXPECT_EQ(b.owner.AtTransact("ATI0\r", 0, nullptr), kAtFailed);
  EXPECT_EQ(b.owner.lastErrorCode, 4);
  b.owner.restoringModes = 1;
  b.dialogs.clear();
  EXPECT_EQ(b.owner.AtTransact("ATI0\r", 0, nullptr), kAtSilence);
  EXPECT_TRUE(b.dialogs.messages().empty());
}

TEST(Transaction, NoReplyAtAllIsError4EvenWhenLenient) {
  TaBench b({"--silent-after", "0", "--no-echo"});
  Open(b);
  int slot = -1;
  b.dialogs.setStartupAnswer(1);
  EXPECT_EQ(b.owner.AtTransact("ATI0\r", 1, &slot), kAtFailed);
  EXPECT_EQ(slot, 1);  // the start-up question was asked and answered
  ASSERT_EQ(b.dialogs.startupQuestions().size(), 1u);
  EXPECT_EQ(b.dialogs.startupQuestions()[0], TaBench::Text(4));
}

TEST(Transaction, NumericResultsOnlyInLenientMode) {
  TaBench b({"--numeric"});
  Open(b);
  EXPECT_EQ(b.owner.AtTransact("ATI0\r", 1, nullptr), kAtNumericOk);
  EXPECT_EQ(b.owner.AtTransact("ATZZ\r", 1, nullptr), kAtNumericError);
  EXPECT_TRUE(b.dialogs.messages().empty());
  EXPECT_EQ(b.owner.AtTransact("ATI0\r", 0, nullptr), kAtFailed);
  EXPECT_EQ(b.owner.lastErrorCode, 4);
}

TEST(Transaction, ErrorResultIsReportedAsError10) {
  TaBench b({});
  Open(b);
  EXPECT_EQ(b.owner.AtTransact("ATZZ\r", 0, nullptr), kAtFailed);
  EXPECT_EQ(b.owner.lastErrorCode, 10);
  ASSERT_EQ(b.dialogs.messages().size(), 1u);
  EXPECT_EQ(b.dialogs.messages()[0], TaBench::Text(10));
  EXPECT_EQ(b.owner.AtTransact("AT\r", 0, nullptr), kAtOk);  // the link stays usable
}

TEST(Transaction, ReplyOf1024BytesOrMoreOverflows) {
  // Echo "ATI9\r" (5) + text + "\r\nOK\r\n" (6): 1012 bytes of text make 1023 in all.
  TaBench fits({"--long-reply", "1012"});
  Open(fits);
  AtSession s;
  EXPECT_EQ(fits.owner.AtTransact("ATI9\r", 0, nullptr, &s), kAtOk);
  EXPECT_EQ(s.responseLength, 1023);
  TaBench over({"--long-reply", "1013"});
  Open(over);
  EXPECT_EQ(over.owner.AtTransact("ATI9\r", 0, nullptr), kAtFailed);
  EXPECT_EQ(over.owner.lastErrorCode, 4);
  EXPECT_EQ(over.owner.AtTransact("AT\r", 0, nullptr), kAtOk);  // the watcher was released
  // The rest of an overflowing reply is dropped: the next command's reply is its own.
  TaBench large({"--long-reply", "3000"});
  Open(large);
  RxMailbox& mailbox = large.owner.link().mailbox();
  std::mutex mutex;
  std::condition_variable changed;
  std::string handedOver;
  mailbox.setReadyCallback([&] {
    std::lock_guard lock(mutex);
    handedOver.append(reinterpret_cast<const char*>(mailbox.data()),
                      static_cast<std::size_t>(mailbox.length()));
    changed.notify_all();
  });
  EXPECT_EQ(large.owner.AtTransact("ATI9\r", 0, nullptr), kAtFailed);
  EXPECT_EQ(large.owner.lastErrorCode, 4);
  {
    std::unique_lock lock(mutex);
    EXPECT_TRUE(changed.wait_for(lock, 5s, [&] { return handedOver.ends_with("\r\nOK\r\n"); }))
        << "the watcher hands the whole reply over";
  }
  mailbox.setReadyCallback(nullptr);
  AtSession next;
  EXPECT_EQ(large.owner.AtTransact("AT\r", 0, nullptr, &next), kAtOk);
  std::string_view reply = next.responseText();
  if (reply.ends_with('\n')) reply.remove_suffix(1);  // the line feed may come in a later burst
  EXPECT_EQ(reply, "AT\r\r\nOK\r");
}

struct FirstByteSignal : TerminalOutput {
  std::mutex mutex;
  std::condition_variable changed;
  bool seen = false;
  void onChar(std::uint8_t) override {
    std::lock_guard lock(mutex);
    seen = true;
    changed.notify_all();
  }
};

TEST(Transaction, SimulatorKilledMidReplyEndsInError4WithoutSpinning) {
  TaBench b({"--drip-ms", "40"}, 500ms);
  Open(b);
  FirstByteSignal firstByte;
  b.owner.link().setTerminalOutput(&firstByte);
  std::thread killer([&] {
    std::unique_lock lock(firstByte.mutex);
    if (firstByte.changed.wait_for(lock, 5s, [&] { return firstByte.seen; })) b.sim.killHard();
  });
  const auto cpuBefore = test::ProcessCpuTime();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(b.owner.AtTransact("ATI4\r", 0, nullptr), kAtFailed);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  killer.join();
  b.owner.link().setTerminalOutput(nullptr);
  EXPECT_EQ(b.owner.lastErrorCode, 4);
  EXPECT_GE(elapsed, 500ms);
  EXPECT_LT(test::ProcessCpuTime() - cpuBefore, std::chrono::microseconds(200'000));
  EXPECT_TRUE(b.owner.link().deviceGone());
  // The next exchange does not wait on the dead port: it connects again and finds no device.
  const auto next = std::chrono::steady_clock::now();
  EXPECT_EQ(b.owner.AtTransact("AT\r", 0, nullptr), kAtFailed);
  EXPECT_LT(std::chrono::steady_clock::now() - next, 400ms);
  EXPECT_EQ(b.owner.lastErrorCode, 2);
  EXPECT_EQ(b.owner.connected, 0);
}

}  // namespace
}  // namespace m2
