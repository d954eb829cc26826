// The device beside the COM drop-down of M2Setup's PC port sheet and M2Update's main
// dialog, and the chooser that links a detected device to the COM number.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "serial/console_ui.h"
#include "serial/link_owner.h"
#include "setup_ui/com_sheet.h"
#include "support/scratch_dir.h"
#include "ui_common/com_device_row.h"
#include "ui_common/device_chooser_dialog.h"
#include "ui_common/template_layout.h"
#include "ui_support/modal_answerer.h"
#include "update_ui/update_main_dialog.h"

using m2::ui::ComDeviceRow;
using m2::ui::DeviceChooserDialog;
using m2::ui::FindControl;
namespace fs = std::filesystem;

class ComDeviceTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    m_dir = std::make_unique<m2::test::ScratchDir>();
    m_oldDir = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(m_dir->path().string()));
    fs::create_symlink("/dev/null", "COM1");
    fs::create_symlink(m_dir->file("gone"), "COM2");
  }
  void cleanup() {
    m2::ui::SetSerialDeviceSource(nullptr);
    QDir::setCurrent(m_oldDir);
    m_dir.reset();
  }

  void labelFollowsTheComDropDown() {
    m2::CKB45mRXObj record;
    m2::setup::CPSheetCom sheet(record, m_owner, nullptr);
    m2::update_ui::UpdateMainDialog updater;
    for (QWidget* window : {static_cast<QWidget*>(&sheet), static_cast<QWidget*>(&updater)}) {
      auto* label = FindControl<QLabel>(window, ComDeviceRow::kDeviceLabel);
      QVERIFY(label);
      QCOMPARE(label->toolTip(), QStringLiteral("COM1 → /dev/null"));
      window->findChild<QComboBox*>(m2::ui::ControlName(window == &sheet ? 1404 : 1003))
          ->setCurrentIndex(1);
      QCOMPARE(label->toolTip(),
               QString::fromStdString("COM2 → " + m_dir->file("gone") + " (ありません)"));
    }
  }

  void chooserMakesTheLinkButNeverOverAFile() {
    m2::ui::SetSerialDeviceSource([] {
      return std::vector<m2::SerialDevice>{
          {"/dev/null", "/dev/null", m2::SerialKind::Usb, "Acme", "Cable", "7"},
          {"/dev/zero", "/dev/zero", m2::SerialKind::BuiltIn, "", "", ""}};
    });
    std::ofstream("COM3") << "notes";
    m2::CKB45mRXObj record;
    m2::setup::CPSheetCom sheet(record, m_owner, nullptr);
    auto* label = FindControl<QLabel>(&sheet, ComDeviceRow::kDeviceLabel);
    auto* choose = FindControl<QPushButton>(&sheet, ComDeviceRow::kChooseButton);
    auto* ports = FindControl<QComboBox>(&sheet, 1404);
    QStringList rows;
    auto pickSecond = [&rows](QDialog* chooser) {
      auto* list = FindControl<QTreeWidget>(chooser, DeviceChooserDialog::kDeviceList);
      for (int i = 0; i < list->topLevelItemCount(); ++i) rows << list->topLevelItem(i)->text(0);
      list->setCurrentItem(list->topLevelItem(1));
      FindControl<QPushButton>(chooser, DeviceChooserDialog::kOkButton)->click();
    };

    m2::test::ModalAnswerer answers;
    answers.onShown("DeviceChooserDialog", pickSecond);
    choose->click();
    QCOMPARE(rows, (QStringList{"Acme", "(内蔵)"}));
    QCOMPARE(QString::fromStdString(fs::read_symlink("COM1").string()),
             QStringLiteral("/dev/zero"));  // the older link replaced
    QCOMPARE(label->toolTip(), QStringLiteral("COM1 → /dev/zero"));

    ports->setCurrentIndex(2);
    answers.onShown("DeviceChooserDialog", pickSecond);
    answers.expect("messageBox", 0);
    answers.expect("DeviceChooserDialog", DeviceChooserDialog::kCancelButton);
    choose->click();
    QCOMPARE(answers.pending(), 0);
    QVERIFY(!fs::is_symlink("COM3"));
    QCOMPARE(answers.seen().back().text, QStringLiteral("COM3 はﾘﾝｸではないので置き換えません"));
    QCOMPARE(label->toolTip(), QStringLiteral("COM3"));
  }

 private:
  std::unique_ptr<m2::test::ScratchDir> m_dir;
  QString m_oldDir;
  m2::ConsoleDialogs m_dialogs{nullptr};
  m2::BlockingBurstWaiter m_waiter;
  m2::LinkOwner m_owner{m_dialogs, m_waiter};
};

QTEST_MAIN(ComDeviceTest)
#include "com_device_test.moc"
