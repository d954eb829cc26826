#pragma once
// UpdateLink: the M2Update form of the serial link. RTS/CTS flow control, per-byte write
// time-outs, and received data delivered synchronously to the data window in chunks of up
// to 4097 bytes: at the end of every burst and whenever a burst would outgrow the buffer.
// It remembers which owner opened it; only that owner's close closes it.
#include <atomic>
#include <cstdint>

#include "serial/port_channel.h"
#include "serial/port_tables.h"

namespace m2 {

class RxChunkObserver {
 public:
  virtual ~RxChunkObserver() = default;
  // Called on the watcher thread; data[length] is a zero byte. Valid during the call only.
  virtual void onRxChunk(const std::uint8_t* data, int length) = 0;
};

class TerminalByteObserver {
 public:
  virtual ~TerminalByteObserver() = default;
  virtual void onTerminalByte(std::uint8_t byte) = 0;  // every byte, line feeds included
};

class UpdateLink : public PortChannel {
 public:
  static constexpr int kDataLimit = 4096;

  UpdateLink() : PortChannel(kFlowRtsCts, TimeoutMode::PerByte, kDataLimit) {}
  ~UpdateLink() override { ReleasePort(); }

  // 1 open (or already open and force is not 1: the open port and its owner are kept);
  // 0 failure. timeoutMode 1 is what every caller passes.
  int OpenPort(int ownerId, int timeoutMode, int force, int portIndex, int speedIndex,
               int formatIndex);
  // Closes only if a port is open and ownerId is the owner's.
  void ClosePort(int ownerId);

  int ownerId() const { return m_ownerId; }
  void setDataWindow(RxChunkObserver* window) { m_dataWindow = window; }
  void setTerminalWindow(TerminalByteObserver* window) { m_terminalWindow = window; }

 protected:
  void handOver(const std::uint8_t* data, int length) override;
  void postByte(std::uint8_t byte) override {
    if (auto* t = m_terminalWindow.load()) t->onTerminalByte(byte);
  }

 private:
  using PortChannel::OpenPort;
  using PortChannel::ClosePort;

  int m_ownerId = 0;
  std::uint8_t m_rxBuffer[kDataLimit + 2] = {};
  std::atomic<RxChunkObserver*> m_dataWindow{nullptr};
  std::atomic<TerminalByteObserver*> m_terminalWindow{nullptr};
};

}  // namespace m2
