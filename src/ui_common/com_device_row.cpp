#include "ui_common/com_device_row.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QPushButton>

#include "serial/com_naming.h"
#include "ui_common/device_chooser_dialog.h"
#include "ui_common/string_resource.h"
#include "ui_common/template_layout.h"

namespace m2::ui {
namespace {

SerialDeviceSource& Source() {
  static SerialDeviceSource source;
  return source;
}

}  // namespace

void SetSerialDeviceSource(SerialDeviceSource source) { Source() = std::move(source); }

std::vector<SerialDevice> DetectSerialDevices() {
  if (Source()) return Source()();
  return SerialDevicesFrom(UdevTtyDatabase().ttys());
}

ComDeviceRow::ComDeviceRow(TemplateLayout& layout, QComboBox* portList, DluRect labelRect,
                           DluRect buttonRect)
    : QObject(layout.host()), m_portList(portList) {
  m_label = layout.addLabel(QString(), labelRect, kDeviceLabel);
  m_label->setWordWrap(false);
  m_button = layout.addButton(QStringLiteral("ﾃﾞﾊﾞｲｽ選択(&D)..."), buttonRect, kChooseButton);
  connect(m_portList, &QComboBox::currentIndexChanged, this, &ComDeviceRow::refresh);
  connect(m_button, &QPushButton::clicked, this, &ComDeviceRow::chooseDevice);
  layout.host()->window()->installEventFilter(this);
  refresh();
}

bool ComDeviceRow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::WindowActivate) refresh();
  return QObject::eventFilter(watched, event);
}

int ComDeviceRow::portNumber() const { return m_portList->currentIndex() + 1; }

void ComDeviceRow::refresh() {
  const QString text = Qs(ComTargetText(portNumber(), ResolveCom(portNumber())));
  // Long by-id names are cut at the end; the whole name is in the tool tip.
  m_label->setText(m_label->fontMetrics().elidedText(text, Qt::ElideRight, m_label->width()));
  m_label->setToolTip(text);
}

void ComDeviceRow::chooseDevice() {
  DeviceChooserDialog chooser(portNumber(), DetectSerialDevices(), m_label->window());
  chooser.exec();
  refresh();
}

}  // namespace m2::ui
