#pragma once
// SetupMainDialog: the hub of M2Setup. It owns the settings record and the link to the TA,
// connects when it opens, offers every function through its menu bar and three list views,
// runs the sheets, the status dialogs and the read-from-the-TA flow, and on leaving asks
// whether the settings are to be saved.
//
// The sheets (main_dialog_sheets.cpp) and the status windows (main_dialog_status.cpp) are
// opened from files of their own.
#include <QDialog>
#include <QString>
#include <QTimer>
#include <chrono>
#include <memory>

#include "serial/link_owner.h"
#include "settings/settings_record.h"
#include "ui_common/gui_burst_waiter.h"

class QListWidget;
class QMenuBar;
class QPushButton;

namespace m2::setup {

class TerminalDialog;
class TerminalFeed;

enum class SheetKind { Analog, Data, Numbers, PcPort };
enum class StatusKind { Charges, CallStatus, LineStatus };

// What tests change; the program runs with the defaults.
struct SetupOptions {
  std::chrono::milliseconds silence = LinkOwner::kDefaultSilence;
  UserDialogs* dialogs = nullptr;  // null: message boxes and the start-up error dialog
};

class SetupMainDialog final : public QDialog {
 public:
  static constexpr int kReadButton = 1013;
  static constexpr int kHelpButton = 57670;  // the standard help command
  static constexpr int kTaSettingsListId = 1505;
  static constexpr int kPcSettingsListId = 1502;
  static constexpr int kTaStatusListId = 1504;

  explicit SetupMainDialog(SetupOptions options = {});
  ~SetupMainDialog() override;

  CKB45mRXObj& record() { return m_record; }
  LinkOwner& link() { return m_link; }

  // The commands of the menu, the buttons and the list rows.
  void ReadFromTa();
  void ShowSheet(SheetKind kind);
  void RunStatusDialog(StatusKind kind);
  void OpenTerminal();
  void ShowAbout();
  void ShowHelp(const QString& section);
  // The simple terminal has closed.
  void TerminalClosed();
  // A termination signal: the window closes without questions, saving nothing; the
  // transaction in progress ends. FinishLeaving then gives the TA back its modes.
  void Terminate();
  // Closes the terminal and the link, giving the TA back its result-code modes (nothing to
  // do after the close path has run).
  void FinishLeaving();
  // A second signal: the port's exclusive mode and lock go at once.
  void Abandon();
  // The connection attempt made when the window opened is over.
  bool startupConnectDone() const { return m_startupConnectDone; }

  int settingsFileLoaded = 0;
  QString appVersionText;
  QListWidget* TaSettingsList = nullptr;
  QListWidget* PcSettingsList = nullptr;
  QListWidget* TaStatusList = nullptr;
  TerminalDialog* TerminalWindowPtr = nullptr;
  int ctrlKeySeen = 0;

 protected:
  void accept() override;  // "終了(&E)"
  void reject() override;  // Escape, the close box, the exit menu item
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenuBar(QMenuBar* bar);
  void OnCommand(int command);
  void BuildLists(QWidget* client);
  void ConnectAtStart();
  void ClosePath(int result);
  void ActivateRow(const QListWidget* list);
  void TerminalKey(int key);
  void CloseTerminal();

  // The waiter is declared before the link owner: the watcher's wake-ups refer to it.
  std::unique_ptr<UserDialogs> m_ownDialogs;
  UserDialogs* m_dialogs;
  ui::GuiBurstWaiter m_waiter;
  CKB45mRXObj m_record;
  // Declared before the link: the link's watcher may call the feed until the link is gone.
  std::unique_ptr<TerminalFeed> m_terminalFeed;
  LinkOwner m_link;
  QPushButton* m_readButton = nullptr;
  bool m_opened = false;
  bool m_startupConnectDone = false;
  bool m_closing = false;
  bool m_terminating = false;
  // Ends the dialog once the exchange the signal interrupted has unwound.
  QTimer m_endTimer;
};

}  // namespace m2::setup
