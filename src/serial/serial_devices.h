#pragma once
// The serial devices of this machine, as a person recognises them: USB adapters and modems
// under their stable name (the /dev/serial/by-id/... link udev makes, else the
// /dev/ttyUSB*/ttyACM* node) with maker, product and serial number, and the built-in
// /dev/ttyS* ports that have a UART behind them.
//
// The device database is read through TtyDatabase, one udev-like record per tty. The real
// one asks libudev; tests hand in a fixed list. A built-in port counts when the serial
// core's "type" attribute names a UART (0 is PORT_UNKNOWN: a placeholder the kernel made
// without finding hardware). The attribute is read from sysfs through udev, so no port is
// opened (opening needs permission, and raises DTR on a line someone may be using).
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace m2 {

struct TtyRecord {
  std::string devNode;                            // /dev/ttyUSB0
  std::vector<std::string> devLinks;              // the links udev made for it
  std::map<std::string, std::string> properties;  // ID_VENDOR, ID_MODEL_FROM_DATABASE, ...
  // The USB device's own strings, for when udev's database has no ID_ properties.
  std::string usbManufacturer, usbProduct, usbSerial;
  std::optional<int> uartType;  // built-in ports: the serial core's port type
};

enum class SerialKind { Usb, BuiltIn };

struct SerialDevice {
  std::string path;  // what a COM<n> link points at: the by-id link when there is one
  std::string node;  // the device node itself
  SerialKind kind = SerialKind::Usb;
  std::string maker, product, serial;
};

class TtyDatabase {
 public:
  virtual ~TtyDatabase() = default;
  virtual std::vector<TtyRecord> ttys() const = 0;
};

// libudev's view of the ttyS*, ttyUSB* and ttyACM* devices.
class UdevTtyDatabase final : public TtyDatabase {
 public:
  std::vector<TtyRecord> ttys() const override;
};

// USB devices first, then built-in ports, each sorted by path.
std::vector<SerialDevice> SerialDevicesFrom(const std::vector<TtyRecord>& ttys);

// "maker product" as far as they are known; the node's name when nothing is.
std::string DeviceTitle(const SerialDevice& device);

// The device whose path, node, or file name of either is name; null when none is.
const SerialDevice* FindSerialDevice(const std::vector<SerialDevice>& devices,
                                     const std::string& name);

}  // namespace m2
