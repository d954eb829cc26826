#pragma once
// SerialLink: the M2Setup form of the serial link. XON/XOFF flow control, a 1028-byte
// receive mailbox handed to the AT transaction engine, and every received byte except line
// feeds passed to the simple terminal while one is attached.
#include <atomic>

#include "serial/port_channel.h"
#include "serial/port_tables.h"
#include "serial/rx_mailbox.h"

namespace m2 {

class TerminalOutput {
 public:
  virtual ~TerminalOutput() = default;
  // Called on the watcher thread for received bytes, and on the thread that writes (the
  // user's) for the trace of a failed write. It must never block: it copies the byte and
  // posts it to the view's own thread (a blocking call would stall the watcher, which
  // closing the port joins).
  virtual void onChar(std::uint8_t byte) = 0;
};

class SerialLink : public PortChannel {
 public:
  SerialLink() : PortChannel(kFlowXonXoff, TimeoutMode::Setup, RxMailbox::kDataLimit) {}
  ~SerialLink() override { ReleasePort(); }

  RxMailbox& mailbox() { return m_mailbox; }
  void setTerminalOutput(TerminalOutput* output) { m_terminalOutput = output; }
  TerminalOutput* terminalOutput() const { return m_terminalOutput; }
  void PostByte(std::uint8_t byte) { postByte(byte); }

 protected:
  void handOver(const std::uint8_t* data, int length) override { m_mailbox.handOver(data, length); }
  void postByte(std::uint8_t byte) override {
    TerminalOutput* out = m_terminalOutput.load();
    if (out && byte != 0x0A) out->onChar(byte);
  }
  void beforeWatcherStarts() override { m_mailbox.resetAbort(); }
  void afterWatcherStopped() override { m_mailbox.abortWaits(); }

 private:
  RxMailbox m_mailbox;
  std::atomic<TerminalOutput*> m_terminalOutput{nullptr};
};

}  // namespace m2
