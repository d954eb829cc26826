#pragma once
// Beside a COM drop-down: a label saying which device the chosen COM number opens now
// ("COM1 → /dev/serial/by-id/usb-…", "/dev/ttyS0" or "なし"), following the drop-down, and
// a button opening the device chooser, which makes the COM<n> link in the working folder.
// The detected devices come from the device source: udev, or a fixed list in tests.
#include <QObject>
#include <functional>
#include <vector>

#include "serial/serial_devices.h"
#include "ui_common/dialog_units.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace m2::ui {

class TemplateLayout;

using SerialDeviceSource = std::function<std::vector<SerialDevice>()>;
// Null puts udev back.
void SetSerialDeviceSource(SerialDeviceSource source);
std::vector<SerialDevice> DetectSerialDevices();

class ComDeviceRow final : public QObject {
 public:
  static constexpr int kDeviceLabel = 2011;
  static constexpr int kChooseButton = 2012;

  // portList's row i is COM(i+1).
  ComDeviceRow(TemplateLayout& layout, QComboBox* portList, DluRect labelRect, DluRect buttonRect);

  void refresh();
  // The chooser for the drop-down's COM number; the label follows what it made.
  void chooseDevice();

 protected:
  // The window coming back to the front: a link may have been made meanwhile (m2ctl).
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int portNumber() const;

  QComboBox* m_portList;
  QLabel* m_label;
  QPushButton* m_button;
};

}  // namespace m2::ui
