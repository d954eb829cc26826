// The simulator's download-mode receiver, without a pty: frames in, answers out.
#include <gtest/gtest.h>

#include "update/test_support.h"
#include "update/xmodem_frame.h"
#include "xmodem_receiver.h"

namespace m2::sim {
namespace {

using namespace std::chrono_literals;
using Clock = XmodemReceiver::Clock;
using test::Bytes;

constexpr char ACK = 0x06, NAK = 0x15, CAN = 0x18, EOT = 0x04;

std::string Frame(unsigned counter, const Bytes& data, CheckMode mode,
                  BlockType type = BlockType::Stx1024) {
  FrameBuffer f;
  f.setHeader(type, counter);
  std::copy(data.begin(), data.begin() + static_cast<long>(DataBytes(type)), f.data());
  const std::size_t n = f.seal(type, mode);
  return std::string(reinterpret_cast<const char*>(f.bytes()), n);
}

class ReceiverTest : public ::testing::Test {
 protected:
  std::string feed(XmodemReceiver& r, std::string_view bytes) {
    return r.receive(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), now);
  }
  Clock::time_point now = Clock::time_point(100s);
  Bytes block1 = test::Pattern(1024, 1), block2 = test::Pattern(1024, 2);
};

TEST_F(ReceiverTest, AsksForTheStartEveryIntervalUntilTheFirstFrame) {
  struct Row {
    bool checksum;
    std::string start;
  };
  for (const Row& row : {Row{false, "C"}, Row{true, std::string(1, NAK)}}) {
    XmodemOptions o;
    o.checksum = row.checksum;
    o.startInterval = 3000ms;
    XmodemReceiver r(o);
    EXPECT_EQ(r.tick(now), row.start);
    EXPECT_EQ(r.nextWake(), now + 3000ms);
    EXPECT_EQ(r.tick(now + 2999ms), "");
    EXPECT_EQ(r.tick(now + 3000ms), row.start);
    const CheckMode mode = row.checksum ? CheckMode::Checksum : CheckMode::Crc16;
    now += 3500ms;
    EXPECT_EQ(feed(r, Frame(1, block1, mode)), std::string(1, ACK));
    EXPECT_EQ(r.tick(now + 10s), "") << "no start character after the first frame";
  }
  XmodemOptions silent;
  silent.noStart = true;
  XmodemReceiver r(silent);
  EXPECT_EQ(r.tick(now), "");
  EXPECT_EQ(r.nextWake(), std::nullopt);
}

TEST_F(ReceiverTest, StoresGoodBlocksAndRejectsBadOnes) {
  XmodemOptions o;
  XmodemReceiver r(o);
  const std::string good1 = Frame(1, block1, CheckMode::Crc16);
  std::string badCrc = good1;
  badCrc[500] ^= 0x01;
  std::string badComplement = good1;
  badComplement[2] = 0;
  EXPECT_EQ(feed(r, badCrc), "C") << "CRC mode asks again with C";
  EXPECT_EQ(feed(r, badComplement), "C");
  EXPECT_EQ(feed(r, Frame(2, block1, CheckMode::Crc16)), "C") << "out of sequence";
  EXPECT_EQ(feed(r, good1), std::string(1, ACK));
  EXPECT_EQ(feed(r, good1), std::string(1, ACK)) << "a repeat is acknowledged";
  EXPECT_EQ(feed(r, Frame(2, block2, CheckMode::Crc16).substr(0, 600)), "");
  EXPECT_EQ(feed(r, Frame(2, block2, CheckMode::Crc16).substr(600)), std::string(1, ACK));
  EXPECT_EQ(r.blocksStored(), 2);
  Bytes expected = block1;
  expected.insert(expected.end(), block2.begin(), block2.end());
  EXPECT_EQ(r.image(), expected) << "the repeat was not stored twice";

  XmodemOptions cs;
  cs.checksum = true;
  XmodemReceiver c(cs);
  std::string bad = Frame(1, block1, CheckMode::Checksum);
  bad.back() ^= 0x01;
  EXPECT_EQ(feed(c, bad), std::string(1, NAK));
  EXPECT_EQ(feed(c, Frame(1, block1, CheckMode::Checksum, BlockType::Soh128)), std::string(1, ACK));
  EXPECT_EQ(c.image().size(), 128u);
}

TEST_F(ReceiverTest, AHalfFrameIsDroppedAfterASecond) {
  XmodemReceiver r({});
  feed(r, Frame(1, block1, CheckMode::Crc16).substr(0, 100));
  EXPECT_EQ(r.nextWake(), now + 1000ms);
  EXPECT_EQ(r.tick(now + 1000ms), "C");
  EXPECT_EQ(r.state(), XmodemReceiver::State::AwaitHeader);
}

TEST_F(ReceiverTest, FaultModes) {
  const std::string f1 = Frame(1, block1, CheckMode::Crc16), f2 = Frame(2, block2, CheckMode::Crc16);
  {
    XmodemOptions o;
    o.nakBlock = 2;
    XmodemReceiver r(o);
    EXPECT_EQ(feed(r, f1), std::string(1, ACK));
    EXPECT_EQ(feed(r, f2), "C");
    EXPECT_EQ(feed(r, f2), std::string(1, ACK)) << "only once";
  }
  {
    XmodemOptions o;
    o.cancelAt = 2;
    XmodemReceiver r(o);
    feed(r, f1);
    EXPECT_EQ(feed(r, f2), std::string(2, CAN));
    EXPECT_EQ(feed(r, std::string(1, CAN)), "");
    EXPECT_EQ(r.state(), XmodemReceiver::State::Cancelled);
  }
  {
    XmodemOptions o;
    o.stallAt = 1;
    XmodemReceiver r(o);
    EXPECT_EQ(feed(r, f1), "");
    EXPECT_EQ(feed(r, std::string(3, CAN)), "") << "a stalled TA does not answer a cancel";
    EXPECT_EQ(r.nextWake(), std::nullopt);
  }
  {
    XmodemOptions o;
    o.ackDelay = 50ms;
    XmodemReceiver r(o);
    EXPECT_EQ(feed(r, f1), "");
    EXPECT_EQ(r.nextWake(), now + 50ms);
    EXPECT_EQ(r.tick(now + 50ms), std::string(1, ACK));
  }
  {
    XmodemReceiver r({});
    EXPECT_EQ(feed(r, std::string(3, CAN)), std::string(1, CAN)) << "the sender's cancel";
  }
}

TEST_F(ReceiverTest, EotStoresTheImageThenTheVerdictFollows) {
  test::TempFile scratch(Bytes{});
  const std::string out = (scratch.dir() / "received.bin").string();
  struct Row {
    bool nakEot, split;
    std::vector<std::string> bursts;
  };
  for (const Row& row : {Row{false, false, {"FROM update\r"}}, Row{true, true, {"FROM u", "pdate\r"}}}) {
    XmodemOptions o;
    o.outPath = out;
    o.nakEot = row.nakEot;
    o.splitVerdict = row.split;
    o.verdictDelay = 500ms;
    o.splitGap = 200ms;
    XmodemReceiver r(o);
    feed(r, Frame(1, block1, CheckMode::Crc16));
    if (row.nakEot) {
      EXPECT_EQ(feed(r, std::string(1, EOT)), std::string(1, NAK));
      EXPECT_FALSE(r.imageSaved());
      EXPECT_EQ(feed(r, std::string(3, EOT)), std::string(1, ACK)) << "one ACK for a triple";
    } else {
      EXPECT_EQ(feed(r, std::string(1, EOT)), std::string(1, ACK));
    }
    EXPECT_TRUE(r.imageSaved());
    std::ifstream in(out, std::ios::binary);
    EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(in), {}), block1);
    EXPECT_EQ(r.tick(now + 499ms), "");
    EXPECT_EQ(r.tick(now + 500ms), row.bursts[0]);
    if (row.bursts.size() > 1) {
      EXPECT_EQ(r.tick(now + 699ms), "");
      EXPECT_EQ(r.tick(now + 700ms), row.bursts[1]);
    }
    EXPECT_EQ(r.nextWake(), std::nullopt);
  }
}

}  // namespace
}  // namespace m2::sim
