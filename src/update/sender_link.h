#pragma once
// The part of the serial link the sender uses. SerialSenderLink is the real port (the
// M2Update form of the link); tests put a fake in its place.
#include <cstddef>
#include <optional>
#include <string>

#include "serial/update_link.h"

namespace m2 {

class SenderLink {
 public:
  virtual ~SenderLink() = default;
  // As UpdateLink::OpenPort: 1 open, 0 failure.
  virtual int OpenPort(int ownerId, int timeoutMode, int force, int portIndex, int speedIndex,
                       int formatIndex) = 0;
  virtual void ClosePort(int ownerId) = 0;
  // 1 written, 0 failed at once.
  virtual int Write(const void* data, std::size_t count) = 0;
  // Receives every received chunk on the link's watcher thread; null detaches.
  virtual void setDataWindow(RxChunkObserver* window) = 0;
  // Why the last OpenPort failed, in one line for the user; empty when unknown.
  virtual std::string openFailureDetail() const { return {}; }
};

class SerialSenderLink final : public SenderLink {
 public:
  int OpenPort(int ownerId, int timeoutMode, int force, int portIndex, int speedIndex,
               int formatIndex) override {
    return m_link.OpenPort(ownerId, timeoutMode, force, portIndex, speedIndex, formatIndex);
  }
  void ClosePort(int ownerId) override { m_link.ClosePort(ownerId); }
  int Write(const void* data, std::size_t count) override { return m_link.Write(data, count); }
  void setDataWindow(RxChunkObserver* window) override { m_link.setDataWindow(window); }
  std::string openFailureDetail() const override {
    return OpenFailureDetail(m_link.lastOpenFailure());
  }

  UpdateLink& link() { return m_link; }
  void setDeviceOverride(std::optional<std::string> path) {
    m_link.setDeviceOverride(std::move(path));
  }

 private:
  UpdateLink m_link;
};

}  // namespace m2
