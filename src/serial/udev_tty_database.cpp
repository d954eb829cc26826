#include <libudev.h>

#include <cstdlib>
#include <memory>

#include "serial/serial_devices.h"

namespace m2 {
namespace {

struct UdevUnref {
  void operator()(udev* u) const { udev_unref(u); }
  void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
  void operator()(udev_device* d) const { udev_device_unref(d); }
};
template <class T>
using UdevPtr = std::unique_ptr<T, UdevUnref>;

constexpr const char* kPropertyKeys[] = {"ID_VENDOR_FROM_DATABASE", "ID_VENDOR",
                                         "ID_MODEL_FROM_DATABASE", "ID_MODEL", "ID_SERIAL_SHORT"};

std::string Text(const char* value) { return value ? value : ""; }

}  // namespace

std::vector<TtyRecord> UdevTtyDatabase::ttys() const {
  std::vector<TtyRecord> records;
  UdevPtr<udev> u(udev_new());
  if (!u) return records;
  UdevPtr<udev_enumerate> e(udev_enumerate_new(u.get()));
  if (!e) return records;
  udev_enumerate_add_match_subsystem(e.get(), "tty");
  for (const char* name : {"ttyS*", "ttyUSB*", "ttyACM*"})
    udev_enumerate_add_match_sysname(e.get(), name);
  udev_enumerate_scan_devices(e.get());
  udev_list_entry* entry = nullptr;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e.get())) {
    UdevPtr<udev_device> d(udev_device_new_from_syspath(u.get(), udev_list_entry_get_name(entry)));
    if (!d || !udev_device_get_devnode(d.get())) continue;
    TtyRecord r;
    r.devNode = udev_device_get_devnode(d.get());
    udev_list_entry* link = nullptr;
    udev_list_entry_foreach(link, udev_device_get_devlinks_list_entry(d.get()))
        r.devLinks.emplace_back(udev_list_entry_get_name(link));
    for (const char* key : kPropertyKeys)
      if (const char* value = udev_device_get_property_value(d.get(), key))
        r.properties[key] = value;
    if (const char* type = udev_device_get_sysattr_value(d.get(), "type"))
      r.uartType = std::atoi(type);
    // Owned by d: no reference of our own.
    if (udev_device* usb =
            udev_device_get_parent_with_subsystem_devtype(d.get(), "usb", "usb_device")) {
      r.usbManufacturer = Text(udev_device_get_sysattr_value(usb, "manufacturer"));
      r.usbProduct = Text(udev_device_get_sysattr_value(usb, "product"));
      r.usbSerial = Text(udev_device_get_sysattr_value(usb, "serial"));
    }
    records.push_back(std::move(r));
  }
  return records;
}

}  // namespace m2
