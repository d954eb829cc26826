#pragma once
// UpdateMainDialog: M2Update's main window. It collects the download file, the COM port
// and the speed, asks for confirmation and runs the update in the progress dialog, with
// the one DownloadSender it owns for its whole life and reuses for every update.
#include <QDialog>
#include <QPointer>
#include <QString>

#include "update/download_sender.h"
#include "update/sender_clock.h"
#include "update/sender_link.h"
#include "update_ui/update_progress_dialog.h"

class QComboBox;
class QLineEdit;
class QMenuBar;
class QPushButton;

namespace m2::update_ui {

class UpdateMainDialog final : public QDialog {
 public:
  static constexpr int kExitButton = 1;
  static constexpr int kPathEdit = 1001;
  static constexpr int kBrowseButton = 1002;
  static constexpr int kPortList = 1003;
  static constexpr int kSpeedList = 1004;
  static constexpr int kUpdateButton = 1005;
  static constexpr int kHelpButton = 57670;  // the standard help command

  // helpFilePath: the help file, as the application object found it at start.
  explicit UpdateMainDialog(QString helpFilePath = QStringLiteral("M2Update.hlp"));
  ~UpdateMainDialog() override;

  // The values the controls were last read into; the next update uses them.
  const UpdateRequest& choices() const { return m_choices; }
  DownloadSender& sender() { return m_sender; }
  SerialSenderLink& senderLink() { return m_link; }
  // The open progress dialog, or null.
  UpdateProgressDialog* progressDialog() const { return m_progress; }

  // The commands of the buttons and the menu.
  void Browse();
  void StartUpdate();
  void KeepProgressInFront(QWindow* focused);
  void ShowAbout();
  void ShowHelp(const QString& section);
  // A file given at start (the desktop's "open with"), shown as if typed.
  void SetDownloadPath(const QString& path);

  QString appVersionText;

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenuBar(QMenuBar* bar);
  void BuildControls(QWidget* client);
  void ReadControls();
  void PathChanged();

  // The link and the clock are declared before the sender, which uses them to its end.
  SerialSenderLink m_link;
  SteadySenderClock m_clock;
  DownloadSender m_sender{m_link, m_clock};
  UpdateRequest m_choices;
  QString m_helpFilePath;
  QLineEdit* m_pathEdit = nullptr;
  QComboBox* m_portList = nullptr;
  QComboBox* m_speedList = nullptr;
  QPushButton* m_updateButton = nullptr;
  QPointer<UpdateProgressDialog> m_progress;
};

}  // namespace m2::update_ui
