#include "serial/update_link.h"

#include <cstring>

#include "serial/port_tables.h"

namespace m2 {

int UpdateLink::OpenPort(int ownerId, int timeoutMode, int force, int portIndex, int speedIndex,
                         int formatIndex) {
  if (isOpen()) {
    if (force != 1) return 1;
    PortChannel::ClosePort();
    ReleasePort();
  }
  if (speedIndex < 0 || speedIndex >= static_cast<int>(SpeedTable.size()) || formatIndex < 0 ||
      formatIndex >= static_cast<int>(FormatTable.size()))
    return 0;
  setTimeoutMode(timeoutMode == 1 ? TimeoutMode::PerByte : TimeoutMode::Setup);
  const FormatEntry& format = FormatTable[static_cast<size_t>(formatIndex)];
  if (PreparePort(portIndex + 1, SpeedTable[static_cast<size_t>(speedIndex)].baud,
                  format.byteSize, static_cast<std::uint8_t>(format.parity),
                  format.stopBits) != 1)
    return 0;
  if (PortChannel::OpenPort() != 1) {
    ReleasePort();
    return 0;
  }
  m_ownerId = ownerId;
  return 1;
}

void UpdateLink::ClosePort(int ownerId) {
  if (!isOpen() || ownerId != m_ownerId) return;
  PortChannel::ClosePort();
  ReleasePort();
}

void UpdateLink::handOver(const std::uint8_t* data, int length) {
  std::memcpy(m_rxBuffer, data, static_cast<size_t>(length));
  m_rxBuffer[length] = 0;
  if (auto* window = m_dataWindow.load()) window->onRxChunk(m_rxBuffer, length);
}

}  // namespace m2
