#pragma once
// The TA in its download mode: an XMODEM receiver for 1024- and 128-byte blocks. It asks
// for the start with C (NAK in checksum mode) every few seconds until the first frame,
// checks number, complement and CRC or checksum, acknowledges good blocks, acknowledges a
// repeat of the previous block without storing it, asks for a bad frame again, and
// acknowledges EOT after storing the image. After a delay it sends its verdict text and a
// carriage return. Faults for tests are switched on in XmodemOptions.
//
// The core is pure: bytes and the time go in, bytes to send come out, and nextWake says
// when it wants to be called again. XmodemProtocol puts it on the simulator's pty.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "pty_endpoint.h"

namespace m2::sim {

struct XmodemOptions {
  using Ms = std::chrono::milliseconds;
  bool checksum = false;            // ask with NAK for 8-bit checksums
  Ms startInterval{3000};           // between start characters until the first frame
  bool noStart = false;             // never send a start character
  long nakBlock = 0;                // ask for this block (1 = first) once more
  long cancelAt = 0;                // answer this block with CAN CAN
  long stallAt = 0;                 // from this block on, answer nothing
  bool nakEot = false;              // answer the first EOT with NAK
  Ms ackDelay{0};                   // delay every block's answer
  std::string verdict = "FROM update";
  bool noVerdict = false;           // send nothing after EOT
  Ms verdictDelay{500};
  bool splitVerdict = false;        // the verdict in two bursts
  Ms splitGap{200};
  std::string outPath;              // the received image is stored here at EOT
};

class XmodemReceiver {
 public:
  using Clock = std::chrono::steady_clock;
  enum class State { AwaitFirst, AwaitHeader, InFrame, AfterEot, Cancelled, Stalled };
  static constexpr std::chrono::milliseconds kFrameTimeout{1000};

  explicit XmodemReceiver(XmodemOptions options);
  // Receives a line for every stored block ("block N"), every EOT and every CAN received.
  void setNote(std::function<void(const std::string&)> note) { m_note = std::move(note); }

  // Returns the bytes to send at once.
  std::string receive(const std::uint8_t* data, std::size_t length, Clock::time_point now);
  std::string tick(Clock::time_point now);
  std::optional<Clock::time_point> nextWake() const;

  State state() const { return m_state; }
  const std::vector<std::uint8_t>& image() const { return m_image; }
  long blocksStored() const { return m_blocks; }
  bool imageSaved() const { return m_saved; }

 private:
  void onFrame(Clock::time_point now, std::string& out);
  void onEot(Clock::time_point now, std::string& out);
  void reply(std::string bytes, Clock::time_point now, std::string& out);
  void schedule(Clock::time_point at, std::string bytes);
  std::uint8_t repeatRequest() const;
  std::size_t frameLength() const;
  void saveImage();
  void note(const std::string& line) const {
    if (m_note) m_note(line);
  }

  struct Pending {
    Clock::time_point at;
    std::string bytes;
  };

  XmodemOptions m_opt;
  State m_state = State::AwaitFirst;
  std::optional<Clock::time_point> m_nextStart;
  std::vector<std::uint8_t> m_frame;
  Clock::time_point m_frameStarted{};
  std::vector<std::uint8_t> m_image;
  long m_blocks = 0;          // new blocks stored
  std::uint8_t m_lastNumber = 0;
  bool m_nakBlockDone = false;
  bool m_nakEotDone = false;
  bool m_saved = false;
  std::vector<Pending> m_pending;  // in time order
  std::function<void(const std::string&)> m_note;
};

// The receiver on the simulator's line.
class XmodemProtocol final : public SimProtocol {
 public:
  // log: null, or the file that gets the receiver's notes, a line each.
  XmodemProtocol(XmodemOptions options, std::FILE* log);
  void onReceive(const std::uint8_t* data, std::size_t length, PtyEndpoint& line) override;
  std::optional<Clock::time_point> onTick(Clock::time_point now, PtyEndpoint& line) override;

 private:
  XmodemReceiver m_receiver;
};

}  // namespace m2::sim
