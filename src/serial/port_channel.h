#pragma once
// What both link forms share: preparing the port record, opening the device and starting
// the watcher, writing, tracing and the closing order. The forms differ in the flow flags,
// the time-out mode, the burst limit and where bursts and traced bytes go (BurstSink).
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "serial/com_port.h"
#include "serial/com_thread.h"

namespace m2 {

class PortChannel : protected BurstSink {
 public:
  PortChannel(std::uint8_t flowFlags, TimeoutMode timeoutMode, int burstLimit);
  virtual ~PortChannel();
  PortChannel(const PortChannel&) = delete;
  PortChannel& operator=(const PortChannel&) = delete;

  // 1 prepared; -1 the record could not be made.
  int PreparePort(int portNumber, std::uint32_t baudRate, std::uint8_t byteSize,
                  std::uint8_t parity, std::uint8_t stopBits);
  int OpenPort();  // 1 open with the watcher running, 0 failure
  int ConfigureLine();
  void ClosePort();
  void ReleasePort();
  int Write(const void* data, std::size_t count);
  void Trace(std::string_view text);
  // Any thread, for a program about to end at once (a second Ctrl-C): the device is left
  // usable for others (no exclusive mode, no lock file); the descriptor closes with the
  // process.
  void DropExclusivity();

  bool isPrepared() const { return m_port != nullptr; }
  bool isOpen() const { return m_port && m_port->openFlag == 1; }
  bool deviceGone() const { return m_thread && m_thread->deviceGone(); }
  // Opens this path instead of resolving "COM<n>" (the CLI's --device).
  void setDeviceOverride(std::optional<std::string> path) { m_deviceOverride = std::move(path); }
  const ComPortInfo* portInfo() const { return m_port.get(); }
  // Why the last OpenPort failed (cause None after a success or a failure of our own).
  const OpenFailure& lastOpenFailure() const { return m_lastFailure; }
  void setTimeoutMode(TimeoutMode mode) { m_timeoutMode = mode; }

 protected:
  void trace(std::string_view text) override { Trace(text); }
  virtual void beforeWatcherStarts() {}
  virtual void afterWatcherStopped() {}

 private:
  std::uint8_t m_flowFlags;
  TimeoutMode m_timeoutMode;
  int m_burstLimit;
  std::optional<std::string> m_deviceOverride;
  std::mutex m_deviceMutex;  // DropExclusivity against opening, closing and releasing
  std::unique_ptr<ComPortInfo> m_port;
  std::unique_ptr<CComThread> m_thread;
  OpenFailure m_lastFailure;
};

}  // namespace m2
