#include "setup_ui/setup_main_dialog.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <array>
#include <span>

#include "serial/at_session.h"
#include "settings/config_read.h"
#include "settings/exit_with_saving.h"
#include "setup_ui/confirm_dialogs.h"
#include "setup_ui/main_menu.h"
#include "setup_ui/setup_strings.h"
#include "setup_ui/setup_user_dialogs.h"
#include "setup_ui/terminal_feed.h"
#include "ui_common/help_opener.h"
#include "ui_common/resource_icons.h"
#include "ui_common/template_layout.h"

namespace m2::setup {

namespace {

constexpr int kTemplateWidth = 250;
constexpr int kTemplateHeight = 188;
constexpr int kSmallIconPixels = 16;
constexpr char kGuideName[] = "M2Setup.html";

struct ListRow {
  std::string_view text;
  int icon;
};

constexpr std::array<ListRow, 3> kTaSettingsRows{{
    {"ｱﾅﾛｸﾞ ﾎﾟｰﾄの設定", 155},
    {"ﾃﾞｰﾀ ﾎﾟｰﾄの設定", 156},
    {"電話番号の設定", 161},
}};
constexpr std::array<ListRow, 1> kPcSettingsRows{{{"ﾊﾟｿｺﾝ通信ﾎﾟｰﾄの設定", 154}}};
constexpr std::array<ListRow, 3> kTaStatusRows{{
    {"通信料金の表示", 162},
    {"通信状態の表示", 160},
    {"回線状態/信号線状態の表示", 159},
}};

constexpr std::array<SheetKind, 3> kTaSettingsSheets{SheetKind::Analog, SheetKind::Data,
                                                     SheetKind::Numbers};
constexpr std::array<StatusKind, 3> kTaStatusDialogs{StatusKind::Charges, StatusKind::CallStatus,
                                                     StatusKind::LineStatus};

QListWidget* MakeList(ui::TemplateLayout& layout, ui::DluRect rect, int id,
                      std::span<const ListRow> rows) {
  auto* list = layout.place(new QListWidget, rect, id);
  list->setViewMode(QListView::ListMode);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setResizeMode(QListView::Adjust);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->setIconSize({kSmallIconPixels, kSmallIconPixels});
  list->setFrameShape(QFrame::StyledPanel);
  list->setWordWrap(true);
  list->setTextElideMode(Qt::ElideNone);
  for (const ListRow& row : rows)
    new QListWidgetItem(ui::ResourceIcon(row.icon), ui::Qs(row.text), list);
  return list;
}

// The first selected row, or -1.
int FirstSelectedRow(const QListWidget* list) {
  for (int row = 0; row < list->count(); ++row)
    if (list->item(row)->isSelected()) return row;
  return -1;
}

}  // namespace

SetupMainDialog::SetupMainDialog(SetupOptions options)
    : m_ownDialogs(options.dialogs ? nullptr : std::make_unique<SetupUserDialogs>(this)),
      m_dialogs(options.dialogs ? options.dialogs : m_ownDialogs.get()),
      m_link(*m_dialogs, m_waiter, options.silence) {
  setObjectName(QStringLiteral("SetupMainDialog"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  appVersionText = SetupString(str::kAppVersion);
  settingsFileLoaded = m_record.LoadFile(0, m_link);
  m_link.setPortSettingsSource([this] {
    const PcPortSettings& pc = m_record.m_data.m_pcPort;
    return PortSettings{pc.m_nComPort, pc.m_nSpeed, pc.m_nDataFormat};
  });

  setWindowTitle(AppTitle() + appVersionText);
  setWindowIcon(ui::ResourceIcon(kAppIcon));
  auto* bar = new QMenuBar(this);
  BuildMenuBar(bar);
  QWidget* client = ui::AttachMenuBar(this, bar);
  BuildLists(client);

  ui::TemplateLayout layout(client);
  auto* exitButton = layout.addButton(QStringLiteral("終了(&E)"), {8, 167, 50, 14}, 1);
  m_readButton =
      layout.addButton(QStringLiteral("ｵﾙﾊﾞﾝﾃM-2KLXから読み込み(&R)"), {66, 167, 115, 14}, kReadButton);
  auto* helpButton = layout.addButton(QStringLiteral("ﾍﾙﾌﾟ"), {189, 167, 50, 14}, kHelpButton);
  connect(exitButton, &QPushButton::clicked, this, &SetupMainDialog::accept);
  connect(m_readButton, &QPushButton::clicked, this, &SetupMainDialog::ReadFromTa);
  connect(helpButton, &QPushButton::clicked, this, [this] { ShowHelp(objectName()); });
  m_readButton->setDefault(true);

  ui::InstallHelpKey(this, QLatin1String(kGuideName),
                     [this](const QString& section) { ShowHelp(section); });
}

SetupMainDialog::~SetupMainDialog() { CloseTerminal(); }

void SetupMainDialog::BuildMenuBar(QMenuBar* bar) {
  ui::BuildMenuBar(bar, kMenuTitles, kMenuItems, [this](int command) { OnCommand(command); });
  // The terminal item exists in the menu resource but is removed at start: the terminal is
  // reached only by its key sequence.
  delete bar->findChild<QAction*>(ui::CommandName(cmd::kShowTerminal));
}

void SetupMainDialog::OnCommand(int command) {
  switch (command) {
    case cmd::kAppExit:
      // A close request, arriving as the cancel command once the menu has closed.
      QMetaObject::invokeMethod(this, &SetupMainDialog::reject, Qt::QueuedConnection);
      break;
    case cmd::kShowCharges: RunStatusDialog(StatusKind::Charges); break;
    case cmd::kShowCallStatus: RunStatusDialog(StatusKind::CallStatus); break;
    case cmd::kShowLineStatus: RunStatusDialog(StatusKind::LineStatus); break;
    case cmd::kShowTerminal: OpenTerminal(); break;
    case cmd::kAnalogSettings: ShowSheet(SheetKind::Analog); break;
    case cmd::kDataSettings: ShowSheet(SheetKind::Data); break;
    case cmd::kNumberSettings: ShowSheet(SheetKind::Numbers); break;
    case cmd::kPcPortSettings: ShowSheet(SheetKind::PcPort); break;
    case cmd::kReadFromTa: ReadFromTa(); break;
    case cmd::kHelpTopics: ShowHelp({}); break;
    case cmd::kAppAbout: ShowAbout(); break;
    default: break;
  }
}

void SetupMainDialog::BuildLists(QWidget* client) {
  ui::TemplateLayout layout(client);
  layout.setTemplateSize(kTemplateWidth, kTemplateHeight);
  layout.addLabel(QStringLiteral("ﾀｰﾐﾅﾙ ｱﾀﾞﾌﾟﾀの設定："), {7, 7, 80, 8});
  layout.addLabel(QStringLiteral("ﾀｰﾐﾅﾙ ｱﾀﾞﾌﾟﾀの状態："), {129, 7, 80, 8});
  layout.addLabel(QStringLiteral("ﾊﾟｿｺﾝの設定："), {7, 98, 55, 8});
  TaSettingsList = MakeList(layout, {7, 17, 112, 75}, kTaSettingsListId, kTaSettingsRows);
  PcSettingsList = MakeList(layout, {7, 108, 112, 48}, kPcSettingsListId, kPcSettingsRows);
  TaStatusList = MakeList(layout, {129, 17, 112, 75}, kTaStatusListId, kTaStatusRows);
  for (QListWidget* list : {TaSettingsList, PcSettingsList, TaStatusList})
    list->viewport()->installEventFilter(this);
  PcSettingsList->installEventFilter(this);
}

void SetupMainDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_opened) return;
  m_opened = true;
  // Connect once the window is on the screen, from the event loop.
  QTimer::singleShot(0, this, &SetupMainDialog::ConnectAtStart);
}

void SetupMainDialog::ConnectAtStart() {
  int answer = 0;
  const int connected = m_link.ConnectTa(kDisplayStartup, &answer, nullptr, 1);
  m_startupConnectDone = true;
  if (connected == 0 && answer == 1) ClosePath(QDialog::Rejected);
}

bool SetupMainDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    for (const QListWidget* list : {TaSettingsList, PcSettingsList, TaStatusList}) {
      if (watched != list->viewport()) continue;
      // The list first handles the click itself; the row is looked at afterwards.
      QMetaObject::invokeMethod(this, [this, list] { ActivateRow(list); }, Qt::QueuedConnection);
    }
  } else if (event->type() == QEvent::KeyPress && watched == PcSettingsList) {
    TerminalKey(static_cast<QKeyEvent*>(event)->key());
  }
  return QDialog::eventFilter(watched, event);
}

void SetupMainDialog::ActivateRow(const QListWidget* list) {
  const int row = FirstSelectedRow(list);
  if (row < 0) return;
  if (list == TaSettingsList)
    ShowSheet(kTaSettingsSheets[static_cast<std::size_t>(row)]);
  else if (list == PcSettingsList)
    ShowSheet(SheetKind::PcPort);
  else if (list == TaStatusList)
    RunStatusDialog(kTaStatusDialogs[static_cast<std::size_t>(row)]);
}

void SetupMainDialog::TerminalKey(int key) {
  // Ctrl pressed, then T: the hidden way to the simple terminal. Any other key in between
  // (or T alone) does nothing.
  if (key == Qt::Key_Control) {
    ctrlKeySeen = 1;
    return;
  }
  if (ctrlKeySeen == 1 && key == Qt::Key_T) OpenTerminal();
  ctrlKeySeen = 0;
}

void SetupMainDialog::ReadFromTa() {
  ReadConfirmDialog* question = nullptr;
  auto read = [this] {
    AtSession session;
    if (ReadConfiguration(m_record, m_link, session, 0) == 1) m_record.m_bModified = 1;
  };
  auto defaults = [this, &question] {
    DefaultsConfirmDialog confirm(question, [this] {
      AtSession session;
      ResetAndRead(m_record, m_link, session, settingsFileLoaded);
    });
    confirm.exec();
  };
  ReadConfirmDialog dialog(this, read, defaults);
  question = &dialog;
  dialog.exec();
}

void SetupMainDialog::ShowHelp(const QString& section) {
  ui::OpenHelpOrSay({SetupString(str::kHelpFileName), QLatin1String(kGuideName), section}, this,
                    AppTitle());
}

void SetupMainDialog::TerminalClosed() { TerminalWindowPtr = nullptr; }

void SetupMainDialog::accept() { ClosePath(QDialog::Accepted); }

void SetupMainDialog::reject() { ClosePath(QDialog::Rejected); }

void SetupMainDialog::ClosePath(int result) {
  if (m_closing) return;
  m_closing = true;
  if (m_record.m_bModified == 1 || m_record.m_bTaChanged == 1) {
    ExitConfirmDialog question(this);
    const int answer = question.exec();
    if (m_terminating) return;  // the signal closed the question: nothing is saved
    switch (answer) {
      case kIdOk:
        // A settings file that cannot be written keeps the program open with its edits
        // and the port, as after "ｷｬﾝｾﾙ", so that the user can free space or leave without
        // saving; otherwise this ends with the port closed.
        if (ExitWithSaving(m_record, m_link) == kExitSaveFailed) {
          m_closing = false;
          return;
        }
        break;
      case ExitConfirmDialog::kNoId:
        break;
      default:  // "ｷｬﾝｾﾙ": the program goes on
        m_closing = false;
        return;
    }
  }
  FinishLeaving();
  QDialog::done(result);
}

void SetupMainDialog::Terminate() {
  m_terminating = true;
  m_link.Interrupt();
  m_waiter.wake();
  // Inside an exchange's wait the dialog cannot end yet (the start-up connection, for one,
  // still gives the TA its modes back); it is ended as soon as that has unwound.
  QDialog::done(QDialog::Rejected);
  if (!isVisible()) return;
  m_endTimer.setInterval(std::chrono::milliseconds(100));
  connect(&m_endTimer, &QTimer::timeout, this, [this] {
    QDialog::done(QDialog::Rejected);
    if (!isVisible()) m_endTimer.stop();
  });
  m_endTimer.start();
}

void SetupMainDialog::FinishLeaving() {
  CloseTerminal();
  m_link.DisconnectTa(1);
}

void SetupMainDialog::Abandon() { m_link.link().DropExclusivity(); }

}  // namespace m2::setup
