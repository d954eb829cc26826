#include "ui_common/device_chooser_dialog.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <cstring>

#include "serial/com_naming.h"
#include "ui_common/message_box.h"
#include "ui_common/string_resource.h"
#include "ui_common/template_layout.h"

namespace m2::ui {

DeviceChooserDialog::DeviceChooserDialog(int portNumber, std::vector<SerialDevice> devices,
                                         QWidget* parent)
    : QDialog(parent), m_portNumber(portNumber), m_devices(std::move(devices)) {
  setObjectName(QStringLiteral("DeviceChooserDialog"));
  setWindowTitle(QStringLiteral("ﾃﾞﾊﾞｲｽの選択"));
  setWindowFlags(kDialogWindowFlags);
  TemplateLayout layout(this);
  layout.setTemplateSize(280, 130);
  const QString com = QStringLiteral("COM%1").arg(portNumber);
  layout.addLabel(m_devices.empty() ? QStringLiteral("ｼﾘｱﾙﾃﾞﾊﾞｲｽが見つかりません")
                                    : QStringLiteral("%1 で開くﾃﾞﾊﾞｲｽを選んでください").arg(com),
                  {7, 7, 266, 8});
  m_list = layout.place(new QTreeWidget, {7, 18, 266, 84}, kDeviceList);
  m_list->setRootIsDecorated(false);
  m_list->setHeaderLabels(
      {QStringLiteral("ﾒｰｶｰ"), QStringLiteral("製品"), QStringLiteral("ﾃﾞﾊﾞｲｽ")});
  for (const SerialDevice& d : m_devices) {
    const bool builtIn = d.kind == SerialKind::BuiltIn;
    auto* row = new QTreeWidgetItem(
        m_list, {Qs(builtIn ? std::string("(内蔵)") : d.maker),
                 Qs(builtIn ? std::string("ｼﾘｱﾙﾎﾟｰﾄ") : d.product), Qs(d.path)});
    row->setToolTip(2, Qs(d.node));
  }
  m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  m_ok = layout.addButton(QStringLiteral("OK"), {167, 110, 50, 14}, kOkButton);
  auto* cancel = layout.addButton(QStringLiteral("ｷｬﾝｾﾙ"), {223, 110, 50, 14}, kCancelButton);
  m_ok->setDefault(true);
  m_ok->setEnabled(false);
  connect(m_list, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* current) { m_ok->setEnabled(current != nullptr); });
  connect(m_list, &QTreeWidget::itemActivated, this, &DeviceChooserDialog::accept);
  connect(m_ok, &QPushButton::clicked, this, &DeviceChooserDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &DeviceChooserDialog::reject);
  if (!m_devices.empty()) m_list->setCurrentItem(m_list->topLevelItem(0));
  m_list->setFocus();
}

void DeviceChooserDialog::accept() {
  const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
  if (row < 0) return;
  const std::string& path = m_devices[static_cast<std::size_t>(row)].path;
  const LinkOutcome outcome = MakeComLink(m_portNumber, path);
  const QString com = QStringLiteral("COM%1").arg(m_portNumber);
  switch (outcome.result) {
    case LinkResult::Made:
    case LinkResult::Replaced: QDialog::accept(); return;
    case LinkResult::NotALink:
      ShowOkMessage(this, windowTitle(),
                    QStringLiteral("%1 はﾘﾝｸではないので置き換えません").arg(com));
      return;
    case LinkResult::Failed:
      ShowOkMessage(this, windowTitle(), QStringLiteral("%1 のﾘﾝｸを作れません").arg(com),
                    QString::fromLocal8Bit(std::strerror(outcome.error)));
      return;
  }
}

}  // namespace m2::ui
