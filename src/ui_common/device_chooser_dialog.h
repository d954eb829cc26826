#pragma once
// The device chooser: the serial devices found on this machine (maker, product, path) and,
// on OK, the chosen one made the target of the COM<n> link in the working folder. An older
// link is replaced; a file of that name that is not a link is left alone and the refusal
// shown, the dialog staying open.
#include <QDialog>
#include <vector>

#include "serial/serial_devices.h"

class QPushButton;
class QTreeWidget;

namespace m2::ui {

class DeviceChooserDialog final : public QDialog {
 public:
  static constexpr int kDeviceList = 2021;
  static constexpr int kOkButton = 1;
  static constexpr int kCancelButton = 2;

  DeviceChooserDialog(int portNumber, std::vector<SerialDevice> devices, QWidget* parent);

  void accept() override;

 private:
  int m_portNumber;
  std::vector<SerialDevice> m_devices;
  QTreeWidget* m_list = nullptr;
  QPushButton* m_ok = nullptr;
};

}  // namespace m2::ui
