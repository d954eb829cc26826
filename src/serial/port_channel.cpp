#include "serial/port_channel.h"

#include <new>

#include "serial/com_naming.h"

namespace m2 {

PortChannel::PortChannel(std::uint8_t flowFlags, TimeoutMode timeoutMode, int burstLimit)
    : m_flowFlags(flowFlags), m_timeoutMode(timeoutMode), m_burstLimit(burstLimit) {}

PortChannel::~PortChannel() { ReleasePort(); }

int PortChannel::PreparePort(int portNumber, std::uint32_t baudRate, std::uint8_t byteSize,
                             std::uint8_t parity, std::uint8_t stopBits) {
  ReleasePort();
  auto port = std::unique_ptr<ComPortInfo>(new (std::nothrow) ComPortInfo);
  if (!port) return -1;
  port->portNumber = static_cast<std::uint8_t>(portNumber);
  port->baudRate = baudRate;
  port->byteSize = byteSize;
  port->flowFlags = m_flowFlags;
  port->parity = parity;
  port->stopBits = stopBits;
  port->traceFlag = 1;
  port->timeoutMode = m_timeoutMode;
  std::lock_guard lock(m_deviceMutex);
  m_port = std::move(port);
  return 1;
}

int PortChannel::OpenPort() {
  m_lastFailure = {};
  if (!m_port || m_port->openFlag == 1) return 0;
  std::string path;
  if (m_deviceOverride) {
    path = *m_deviceOverride;
  } else {
    const ComTarget target = ResolveCom(m_port->portNumber);
    path = target.openPath;
    m_lastFailure.name = ComDisplayName(m_port->portNumber, target);
  }
  if (path.empty()) {
    m_lastFailure.cause = OpenError::NoDevice;
    return 0;
  }
  {
    std::lock_guard lock(m_deviceMutex);
    if (OpenComDevice(*m_port, path, &m_lastFailure) != OpenError::None) return 0;
  }
  m_port->openFlag = 1;
  beforeWatcherStarts();
  auto thread = std::make_unique<CComThread>(*m_port, static_cast<BurstSink&>(*this), m_burstLimit);
  if (!thread->start()) {
    m_port->openFlag = 0;
    std::lock_guard lock(m_deviceMutex);
    CloseComDevice(*m_port);
    return 0;
  }
  m_thread = std::move(thread);
  SetDtr(*m_port, true);
  return 1;
}

int PortChannel::ConfigureLine() { return m_port && ConfigureComLine(*m_port) ? 1 : 0; }

void PortChannel::ClosePort() {
  if (!m_thread) return;
  m_port->openFlag = 0;
  afterWatcherStopped();  // ends a watcher's wait for a consumer before joining it
  m_thread->stop();
  m_thread.reset();
  std::lock_guard lock(m_deviceMutex);
  CloseComDevice(*m_port);
}

void PortChannel::ReleasePort() {
  if (isOpen() || m_thread) ClosePort();
  std::lock_guard lock(m_deviceMutex);
  m_port.reset();
}

void PortChannel::DropExclusivity() {
  std::lock_guard lock(m_deviceMutex);
  if (m_port) m2::DropExclusivity(*m_port);
}

int PortChannel::Write(const void* data, std::size_t count) {
  if (!isOpen()) return 0;
  return WriteComPort(*m_port, data, count, [this](std::string_view text) { Trace(text); });
}

void PortChannel::Trace(std::string_view text) {
  for (char c : text) postByte(static_cast<std::uint8_t>(c));
}

}  // namespace m2
