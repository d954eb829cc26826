#include "serial/serial_devices.h"

#include <algorithm>

namespace m2 {
namespace {

std::string BaseName(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Property(const TtyRecord& r, const char* key) {
  const auto it = r.properties.find(key);
  return it == r.properties.end() ? std::string() : it->second;
}

// The first of the keys udev has, else the fallback. udev escapes blanks as underscores
// in ID_VENDOR and ID_MODEL; the database names have their blanks.
std::string FirstOf(const TtyRecord& r, const char* fromDatabase, const char* plain,
                    const std::string& fallback) {
  if (std::string v = Property(r, fromDatabase); !v.empty()) return v;
  if (!fallback.empty()) return fallback;
  std::string v = Property(r, plain);
  std::replace(v.begin(), v.end(), '_', ' ');
  return v;
}

std::string StableName(const TtyRecord& r) {
  for (const std::string& link : r.devLinks)
    if (link.starts_with("/dev/serial/by-id/")) return link;
  return r.devNode;
}

}  // namespace

std::vector<SerialDevice> SerialDevicesFrom(const std::vector<TtyRecord>& ttys) {
  std::vector<SerialDevice> devices;
  for (const TtyRecord& r : ttys) {
    const std::string name = BaseName(r.devNode);
    SerialDevice d;
    d.node = r.devNode;
    if (name.starts_with("ttyUSB") || name.starts_with("ttyACM")) {
      d.kind = SerialKind::Usb;
      d.path = StableName(r);
      d.maker = FirstOf(r, "ID_VENDOR_FROM_DATABASE", "ID_VENDOR", r.usbManufacturer);
      d.product = FirstOf(r, "ID_MODEL_FROM_DATABASE", "ID_MODEL", r.usbProduct);
      d.serial = Property(r, "ID_SERIAL_SHORT");
      if (d.serial.empty()) d.serial = r.usbSerial;
    } else if (name.starts_with("ttyS") && r.uartType.value_or(0) > 0) {
      d.kind = SerialKind::BuiltIn;
      d.path = r.devNode;
    } else {
      continue;
    }
    devices.push_back(std::move(d));
  }
  std::sort(devices.begin(), devices.end(), [](const SerialDevice& a, const SerialDevice& b) {
    if (a.kind != b.kind) return a.kind == SerialKind::Usb;
    return a.path < b.path;
  });
  return devices;
}

std::string DeviceTitle(const SerialDevice& device) {
  std::string title = device.maker;
  if (!device.product.empty()) title += (title.empty() ? "" : " ") + device.product;
  if (!title.empty()) return title;
  return device.kind == SerialKind::BuiltIn ? "built-in serial port " + BaseName(device.node)
                                            : BaseName(device.node);
}

const SerialDevice* FindSerialDevice(const std::vector<SerialDevice>& devices,
                                     const std::string& name) {
  for (const SerialDevice& d : devices)
    if (name == d.path || name == d.node || name == BaseName(d.path) || name == BaseName(d.node))
      return &d;
  return nullptr;
}

}  // namespace m2
