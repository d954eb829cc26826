#include "update_ui/update_main_dialog.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QWindow>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <array>

#include "serial/port_tables.h"
#include "ui_common/com_device_row.h"
#include "ui_common/help_opener.h"
#include "ui_common/resource_icons.h"
#include "ui_common/template_layout.h"
#include "update_ui/main_menu.h"
#include "update_ui/update_about_dialog.h"
#include "update_ui/update_confirm_dialog.h"
#include "update_ui/update_progress_dialog.h"
#include "update_ui/update_strings.h"

namespace m2::update_ui {

namespace {

constexpr char kGuideName[] = "M2Update.html";

constexpr int kTemplateWidth = 232;
constexpr int kTemplateHeight = 112;

constexpr std::array<std::string_view, kPortCount> kPortRows{"ＣＯＭ１", "ＣＯＭ２", "ＣＯＭ３",
                                                             "ＣＯＭ４"};

// "*.*" would hide every file without a dot from the all-files filter on this system.
const QStringList kFileFilters{QStringLiteral("ﾀﾞｳﾝﾛｰﾄﾞ ﾌｧｲﾙ (*.dlf)"),
                               QStringLiteral("すべてのﾌｧｲﾙ (*)")};

// The first dropped URL when it names a local file that the source lets us copy.
QString DroppedFile(const QDropEvent& event) {
  const QMimeData* data = event.mimeData();
  if (!(event.possibleActions() & Qt::CopyAction)) return {};
  if (!data || !data->hasUrls() || data->urls().isEmpty()) return {};
  const QUrl url = data->urls().first();
  if (!url.isLocalFile()) return {};
  return QFileInfo(url.toLocalFile()).isFile() ? QDir::toNativeSeparators(url.toLocalFile())
                                               : QString();
}

// The file is only read: a copy, whatever the source proposes (told "move", a file manager
// may delete the file).
void AcceptAsCopy(QDropEvent& event) {
  event.setDropAction(Qt::CopyAction);
  event.accept();
}

}  // namespace

UpdateMainDialog::UpdateMainDialog(QString helpFilePath) : m_helpFilePath(std::move(helpFilePath)) {
  setObjectName(QStringLiteral("UpdateMainDialog"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  appVersionText = UpdateString(str::kAppVersion);
  setWindowTitle(AppTitle());
  setWindowIcon(ui::ResourceIcon(kAppIcon));
  setAcceptDrops(true);
  connect(qGuiApp, &QGuiApplication::focusWindowChanged, this,
          &UpdateMainDialog::KeepProgressInFront);

  auto* bar = new QMenuBar(this);
  BuildMenuBar(bar);
  BuildControls(ui::AttachMenuBar(this, bar));

  m_choices = UpdateRequest{};
  m_choices.portIndex = 0;
  m_choices.speedIndex = static_cast<int>(SpeedTable.size()) - 1;  // 115200
  m_choices.formatIndex = 0;                                       // 8N1, the only choice
  m_pathEdit->setText(QString::fromStdString(m_choices.path));
  m_portList->setCurrentIndex(m_choices.portIndex);
  m_speedList->setCurrentIndex(m_choices.speedIndex);
  m_updateButton->setEnabled(false);
  m_pathEdit->setFocus();

  ui::InstallHelpKey(this, QLatin1String(kGuideName),
                     [this](const QString& section) { ShowHelp(section); });
}

UpdateMainDialog::~UpdateMainDialog() {
  // A progress dialog (still open, or closed and awaiting deletion) stops the sender as it
  // goes, so it must go while the sender exists.
  qDeleteAll(findChildren<UpdateProgressDialog*>(Qt::FindDirectChildrenOnly));
}

void UpdateMainDialog::BuildMenuBar(QMenuBar* bar) {
  ui::BuildMenuBar(bar, kMenuTitles, kMenuItems, [this](int command) {
    switch (command) {
      case cmd::kAppExit:
        // A close request, handled once the menu has closed.
        QMetaObject::invokeMethod(this, &UpdateMainDialog::reject, Qt::QueuedConnection);
        break;
      case cmd::kHelpTopics: ShowHelp({}); break;
      case cmd::kAppAbout: ShowAbout(); break;
      default: break;
    }
  });
}

void UpdateMainDialog::BuildControls(QWidget* client) {
  ui::TemplateLayout layout(client);
  layout.setTemplateSize(kTemplateWidth, kTemplateHeight);
  layout.addLabel(QStringLiteral("ﾀﾞｳﾝﾛｰﾄﾞ ﾌｧｲﾙの指定"), {7, 7, 150, 8});
  m_pathEdit = layout.addEdit({7, 18, 164, 12}, kPathEdit);
  // Files dropped on the edit are handled by the dialog, like any other drop.
  m_pathEdit->setAcceptDrops(false);
  auto* browse = layout.addButton(QStringLiteral("参照(&R)"), {177, 17, 48, 14}, kBrowseButton);

  layout.addGroup(QStringLiteral("ﾊﾟｿｺﾝ通信ﾎﾟｰﾄの設定"), {7, 38, 218, 44});
  layout.addLabel(QStringLiteral("COMﾎﾟｰﾄ"), {16, 54, 40, 8});
  QStringList ports;
  for (std::string_view row : kPortRows) ports << ui::Qs(row);
  m_portList = layout.addDropDown({60, 52, 60, 60}, kPortList, ports);
  layout.addLabel(QStringLiteral("速度"), {16, 68, 40, 8});
  QStringList speeds;
  for (const SpeedEntry& speed : SpeedTable) speeds << QString::number(speed.baud);
  m_speedList = layout.addDropDown({60, 66, 60, 90}, kSpeedList, speeds);
  // Ours: the device the chosen COM number opens, and the chooser that links one to it.
  new ui::ComDeviceRow(layout, m_portList, {126, 54, 94, 8}, {126, 65, 64, 14});

  auto* exitButton = layout.addButton(QStringLiteral("終了(&E)"), {7, 91, 50, 14}, kExitButton);
  m_updateButton =
      layout.addButton(QStringLiteral("ﾊﾞｰｼﾞｮﾝｱｯﾌﾟ(&V)"), {63, 91, 72, 14}, kUpdateButton);
  auto* helpButton = layout.addButton(QStringLiteral("ﾍﾙﾌﾟ"), {175, 91, 50, 14}, kHelpButton);
  m_updateButton->setDefault(true);

  connect(m_pathEdit, &QLineEdit::textChanged, this, &UpdateMainDialog::PathChanged);
  // Every change of a list is read, also one made with the arrow keys on the closed list.
  connect(m_portList, &QComboBox::currentIndexChanged, this, &UpdateMainDialog::ReadControls);
  connect(m_speedList, &QComboBox::currentIndexChanged, this, &UpdateMainDialog::ReadControls);
  connect(browse, &QPushButton::clicked, this, &UpdateMainDialog::Browse);
  connect(exitButton, &QPushButton::clicked, this, &UpdateMainDialog::accept);
  connect(m_updateButton, &QPushButton::clicked, this, &UpdateMainDialog::StartUpdate);
  connect(helpButton, &QPushButton::clicked, this, [this] { ShowHelp(objectName()); });
}

void UpdateMainDialog::ReadControls() {
  m_choices.path = QFile::encodeName(m_pathEdit->text()).toStdString();
  m_choices.portIndex = m_portList->currentIndex();
  m_choices.speedIndex = m_speedList->currentIndex();
}

void UpdateMainDialog::PathChanged() {
  ReadControls();
  m_updateButton->setEnabled(!m_choices.path.empty());
}

void UpdateMainDialog::Browse() {
  QFileDialog dialog(this, QStringLiteral("ﾌｧｲﾙを選択する"), QDir::currentPath());
  dialog.setObjectName(QStringLiteral("QFileDialog"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setNameFilters(kFileFilters);
  dialog.setDefaultSuffix(QStringLiteral("dlf"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  m_pathEdit->setText(QDir::toNativeSeparators(dialog.selectedFiles().first()));
  if (!m_pathEdit->text().isEmpty()) {
    m_updateButton->setEnabled(true);
    m_updateButton->setFocus();
  }
  ReadControls();
}

void UpdateMainDialog::StartUpdate() {
  if (m_progress) return;  // one update at a time
  UpdateConfirmDialog confirm(this);
  if (confirm.exec() != UpdateConfirmDialog::kYes) return;
  // Modal to this window without a nested event loop; it is deleted once it has closed.
  m_progress = new UpdateProgressDialog(m_sender, m_choices, this);
  connect(m_progress, &QDialog::finished, this, [this] {
    m_progress->deleteLater();
    m_progress = nullptr;
    // The window manager may leave the focus nowhere when a dialog that had a message box
    // on top goes; the keyboard user carries on here.
    activateWindow();
  });
  m_progress->open();
}

void UpdateMainDialog::KeepProgressInFront(QWindow* focused) {
  // A click on this window gives it the keyboard from the window manager, though the progress
  // dialog blocks it: hand the focus back, so Enter and Escape keep reaching "中止".
  if (!m_progress || !m_progress->isVisible() || focused != windowHandle()) return;
  m_progress->raise();
  m_progress->activateWindow();
}

void UpdateMainDialog::ShowAbout() {
  UpdateAboutDialog about(appVersionText, this);
  about.exec();
}

void UpdateMainDialog::ShowHelp(const QString& section) {
  ui::OpenHelpOrSay({m_helpFilePath, QLatin1String(kGuideName), section}, this, AppTitle());
}

void UpdateMainDialog::SetDownloadPath(const QString& path) {
  m_pathEdit->setText(QDir::toNativeSeparators(path));  // enables the update as typing does
}

void UpdateMainDialog::dragEnterEvent(QDragEnterEvent* event) {
  if (!m_progress && !DroppedFile(*event).isEmpty()) AcceptAsCopy(*event);
}

void UpdateMainDialog::dropEvent(QDropEvent* event) {
  const QString path = DroppedFile(*event);
  if (m_progress || path.isEmpty()) return;
  AcceptAsCopy(*event);
  m_pathEdit->setText(path);  // enables the update as typing does
}

}  // namespace m2::update_ui
