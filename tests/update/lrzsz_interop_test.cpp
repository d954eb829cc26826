// Interoperability with a plain XMODEM receiver: lrzsz's rx, attached to a pty through
// socat's SYSTEM: address (a socketpair: rx flushes its line after every ACK and on exit,
// which on a second pty would discard our bytes). m2ctl update --no-verdict sends.
#include <gtest/gtest.h>

#include <fstream>

#include "child_process.h"
#include "support/run_program.h"
#include "support/sim_process.h"
#include "test_support.h"

namespace m2 {
namespace {

using namespace std::chrono_literals;
using test::Bytes;

TEST(LrzszInterop, RxReceivesEveryByteInBothCheckModes) {
  struct Row {
    std::size_t size;
    const char* rxOptions;  // -c: CRC mode (C); none: checksum mode (NAK)
  };
  const Row rows[] = {{0, "-c"}, {1, "-c"}, {1024, ""}, {1025, "-c"}, {200 * 1024 + 3, ""},
                      {300 * 1024, "-c"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.size << " bytes, rx " << row.rxOptions);
    test::ScratchDir dir;
    const Bytes sent = test::Pattern(row.size, 11);
    std::ofstream(dir.file("image.dlf"), std::ios::binary)
        .write(reinterpret_cast<const char*>(sent.data()), static_cast<std::streamsize>(sent.size()));
    test::ChildProcess rx({"socat", "pty,raw,echo=0,link=DEV,wait-slave",
                           std::string("SYSTEM:exec rx -q ") + row.rxOptions + " received.bin"},
                          dir.path());
    ASSERT_TRUE(test::WaitForPath(dir.file("DEV")));
    const auto r = test::RunProgram(
        {test::BinPath("m2ctl"), "--device", "DEV", "update", "--no-verdict", "image.dlf"}, dir.path(), 60s);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(rx.wait(10s), 0) << rx.err();
    std::ifstream in(dir.file("received.bin"), std::ios::binary);
    const Bytes received(std::istreambuf_iterator<char>(in), {});
    Bytes expected = sent;
    expected.resize((sent.size() + 1023) / 1024 * 1024, 0);  // 0x00 padding, not 0x1A
    EXPECT_EQ(received, expected);
  }
}

}  // namespace
}  // namespace m2
