// M2Update's dialogs against m2sim --xmodem: the main window's choices, the confirmation,
// start failures, a full update by keyboard (twice from one window) and the ways to stop.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "serial/update_link.h"
#include "support/scratch_dir.h"
#include "support/sim_process.h"
#include "ui_common/help_opener.h"
#include "ui_common/string_resource.h"
#include "ui_common/template_layout.h"
#include "ui_support/modal_answerer.h"
#include "update/update_messages.h"
#include "update_ui/update_about_dialog.h"
#include "update_ui/update_confirm_dialog.h"
#include "update_ui/update_main_dialog.h"
#include "update_ui/update_progress_dialog.h"

using m2::ui::FindControl;
using m2::update_ui::UpdateConfirmDialog;
using m2::update_ui::UpdateMainDialog;
using m2::update_ui::UpdateProgressDialog;

namespace {

using Bytes = std::vector<char>;

const QString kAppTitle = QStringLiteral("ｵﾙﾊﾞﾝﾃM-2KLX ﾊﾞｰｼﾞｮﾝｱｯﾌﾟﾕｰﾃｨﾘﾃｨ ");

Bytes Pattern(std::size_t size) {
  Bytes b(size);
  for (std::size_t i = 0; i < size; ++i) b[i] = static_cast<char>((i * 131 + i / 1024) & 0xFF);
  return b;
}
void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}
bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}
// No process holds the file's lock: the sender has closed it.
bool FileFree(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  const bool free = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  if (fd >= 0) ::close(fd);
  return free;
}

// The simulated TA in its download mode, linked as COM1 in a scratch folder that is the
// current directory, storing what it receives; the main dialog opened there.
class UpdateBench {
 public:
  explicit UpdateBench(std::vector<std::string> simArgs = {}) : m_oldDir(QDir::currentPath()) {
    startSim(std::move(simArgs));
    answers.leaveOpen(QStringLiteral("UpdateProgressDialog"));
    dialog = std::make_unique<UpdateMainDialog>();
  }
  ~UpdateBench() {
    dialog.reset();
    QDir::setCurrent(m_oldDir);
  }

  // A TA freshly in its download mode, in a new folder that becomes the current one.
  void startSim(std::vector<std::string> simArgs) {
    std::vector<std::string> args{"--xmodem", "--start-interval-ms", "100", "--verdict-delay-ms",
                                  "50", "--out", m_out.file("received.bin")};
    args.insert(args.end(), simArgs.begin(), simArgs.end());
    std::filesystem::remove(m_out.file("received.bin"));
    sim = std::make_unique<m2::test::SimProcess>(args);
    QDir::setCurrent(QString::fromStdString(sim->dir()));
  }
  std::string file(const std::string& name) const { return sim->file(name); }
  Bytes received() const { return ReadFile(m_out.file("received.bin")); }

  bool open() {
    dialog->show();
    return QTest::qWaitForWindowActive(dialog.get());
  }
  QLineEdit* pathEdit() const { return FindControl<QLineEdit>(dialog.get(), UpdateMainDialog::kPathEdit); }
  QPushButton* updateButton() const {
    return FindControl<QPushButton>(dialog.get(), UpdateMainDialog::kUpdateButton);
  }
  // Types the path, confirms with "はい" and returns the progress dialog that opened.
  UpdateProgressDialog* startUpdate(const QString& path) {
    pathEdit()->setText(path);
    answers.expect(QStringLiteral("UpdateConfirmDialog"), UpdateConfirmDialog::kYes);
    updateButton()->click();
    return dialog->progressDialog();
  }
  // The sender has let go of everything.
  bool senderReleased() {
    return !dialog->sender().workerRunning() && !dialog->sender().fileOpen() &&
           !dialog->senderLink().link().isOpen();
  }

  m2::test::ScratchDir m_out;
  std::unique_ptr<m2::test::SimProcess> sim;
  m2::test::ModalAnswerer answers;
  std::unique_ptr<UpdateMainDialog> dialog;

 private:
  QString m_oldDir;
};

QString MessageOf(const UpdateProgressDialog* p) {
  return FindControl<QLineEdit>(p, UpdateProgressDialog::kMessageField)->text();
}
QPushButton* ButtonOf(const UpdateProgressDialog* p) {
  return FindControl<QPushButton>(p, UpdateProgressDialog::kButton);
}
QString Text(int code) { return m2::ui::Qs(m2::UpdateMessageText(code)); }

}  // namespace

class UpdateDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void startStateAndChoices();
  void confirmationDeclined_data();
  void confirmationDeclined();
  void startFailureShowsMessageAndReleasesAll_data();
  void startFailureShowsMessageAndReleasesAll();
  void updatesByKeyboardTwiceFromOneWindow();
  void abortWhileWaitingShowsAbortAtOnce();
  void f1InTheProgressDialogOpensItsSection();
  void escapeDuringTransferStopsWithoutCan_data();
  void escapeDuringTransferStopsWithoutCan();
};

void UpdateDialogsTest::startStateAndChoices() {
  UpdateBench bench;
  WriteFile(bench.file("image.dlf"), Pattern(10));
  QVERIFY(bench.open());
  UpdateMainDialog& d = *bench.dialog;
  auto* ports = FindControl<QComboBox>(&d, UpdateMainDialog::kPortList);
  auto* speeds = FindControl<QComboBox>(&d, UpdateMainDialog::kSpeedList);
  QCOMPARE(d.windowTitle(), kAppTitle);
  QVERIFY(bench.pathEdit()->text().isEmpty());
  QVERIFY(bench.pathEdit()->hasFocus());
  QCOMPARE(ports->currentText(), QString("ＣＯＭ１"));
  QCOMPARE(speeds->currentText(), QString("115200"));
  QVERIFY(!bench.updateButton()->isEnabled());
  QVERIFY(bench.updateButton()->isDefault());
  QCOMPARE(d.choices().portIndex, 0);
  QCOMPARE(d.choices().speedIndex, 6);
  QCOMPARE(d.choices().formatIndex, 0);

  // F1: our guide at this window's section (no M2Update.hlp here).
  QList<QUrl> opened;
  m2::ui::SetUrlOpener([&](const QUrl& url) {
    opened << url;
    return true;
  });
  QTest::keyClick(&d, Qt::Key_F1);
  m2::ui::SetUrlOpener({});
  QCOMPARE(opened.size(), 1);
  QCOMPARE(opened[0].fileName() + "#" + opened[0].fragment(), QString("M2Update.html#UpdateMainDialog"));

  // Typing enables the update; deleting the last character disables it again.
  QTest::keyClick(bench.pathEdit(), Qt::Key_A);
  QVERIFY(bench.updateButton()->isEnabled());
  QCOMPARE(d.choices().path, std::string("a"));
  QTest::keyClick(bench.pathEdit(), Qt::Key_Backspace);
  QVERIFY(!bench.updateButton()->isEnabled());

  // A list changed with the arrow keys, without opening it, is read as well.
  QTest::keyClick(ports, Qt::Key_Down);
  QTest::keyClick(speeds, Qt::Key_Up);
  QCOMPARE(d.choices().portIndex, 1);
  QCOMPARE(d.choices().speedIndex, 5);

  // A dropped file becomes the path, taken as a copy: a source told "move" may delete it.
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(bench.file("image.dlf")))});
  // Shift held: the move is what is proposed.
  const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
  QDragEnterEvent enter({10, 10}, offered, &mime, Qt::LeftButton, Qt::ShiftModifier);
  QCOMPARE(enter.proposedAction(), Qt::MoveAction);
  QApplication::sendEvent(&d, &enter);
  QVERIFY(enter.isAccepted());
  QCOMPARE(enter.dropAction(), Qt::CopyAction);
  QDropEvent drop(QPointF(10, 10), offered, &mime, Qt::LeftButton, Qt::ShiftModifier);
  QApplication::sendEvent(&d, &drop);
  QVERIFY(drop.isAccepted());
  QCOMPARE(drop.dropAction(), Qt::CopyAction);
  QCOMPARE(bench.pathEdit()->text(), QString::fromStdString(bench.file("image.dlf")));
  QVERIFY(bench.updateButton()->isEnabled());

  // Browsing: cancelling keeps the path; choosing a file puts it in and moves the focus.
  bench.pathEdit()->setText("kept");
  bench.answers.onShown("QFileDialog", [](QDialog* dialog) { dialog->reject(); });
  d.Browse();
  QCOMPARE(bench.pathEdit()->text(), QString("kept"));
  QStringList filters;
  bench.answers.onShown("QFileDialog", [&](QDialog* dialog) {
    auto* files = static_cast<QFileDialog*>(dialog);
    filters = files->nameFilters() << files->windowTitle() << files->defaultSuffix();
    files->selectFile(QString::fromStdString(bench.file("image")));  // the suffix is added
    dialog->accept();
  });
  d.Browse();
  QCOMPARE(filters, (QStringList{"ﾀﾞｳﾝﾛｰﾄﾞ ﾌｧｲﾙ (*.dlf)", "すべてのﾌｧｲﾙ (*)", "ﾌｧｲﾙを選択する", "dlf"}));
  QCOMPARE(d.choices().path, bench.file("image.dlf"));
  // The offscreen platform does not activate the window again; the focus waits for that.
  QCOMPARE(d.focusWidget(), bench.updateButton());

  QString version;
  bench.answers.onShown("UpdateAboutDialog", [&](QDialog* about) {
    version = FindControl<QLineEdit>(about, m2::update_ui::UpdateAboutDialog::kVersionField)->text();
  });
  d.findChild<QAction*>("cmd57664")->trigger();
  QCOMPARE(version, QString("ｵﾙﾊﾞﾝﾃM-2KLX ﾊﾞｰｼﾞｮﾝｱｯﾌﾟﾕｰﾃｨﾘﾃｨ Ver. 1.10"));

  QTest::keyClick(&d, Qt::Key_Escape);
  QTRY_VERIFY(!d.isVisible());
  QCOMPARE(bench.answers.seenNames(), (QStringList{"QFileDialog", "QFileDialog", "UpdateAboutDialog"}));
}

void UpdateDialogsTest::confirmationDeclined_data() {
  QTest::addColumn<bool>("escape");
  QTest::newRow("いいえ") << false;
  QTest::newRow("Escape") << true;
}

void UpdateDialogsTest::confirmationDeclined() {
  QFETCH(bool, escape);
  UpdateBench bench;
  WriteFile(bench.file("image.dlf"), Pattern(5000));
  QVERIFY(bench.open());
  bench.pathEdit()->setText("image.dlf");
  QString title, text;
  bench.answers.onShown("UpdateConfirmDialog", [&](QDialog* confirm) {
    title = confirm->windowTitle();
    QVERIFY(static_cast<UpdateConfirmDialog*>(confirm)->button(UpdateConfirmDialog::kYes)->isDefault());
    if (escape)
      QTest::keyClick(confirm, Qt::Key_Escape);
    else
      static_cast<UpdateConfirmDialog*>(confirm)->button(UpdateConfirmDialog::kNo)->click();
  });
  bench.updateButton()->click();
  QCOMPARE(title, QString("ﾊﾞ-ｼﾞｮﾝｱｯﾌﾟ:確認"));
  QCOMPARE(bench.answers.seenNames(), QStringList{"UpdateConfirmDialog"});
  QVERIFY(bench.answers.seen()[0].text.contains("ﾊﾞｰｼﾞｮﾝｱｯﾌﾟ を実行しますか？"));
  // No progress dialog: nothing was opened, and the sender never moved.
  QVERIFY(!bench.dialog->progressDialog());
  QCOMPARE(bench.dialog->sender().state(), m2::DownloadSender::State::Idle);
  QVERIFY(bench.senderReleased());
  QVERIFY(bench.dialog->isVisible());
}

void UpdateDialogsTest::startFailureShowsMessageAndReleasesAll_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<bool>("portHeld");
  QTest::addColumn<int>("code");
  QTest::newRow("missing file") << "missing.dlf" << false << int(m2::kCodeFileNotFound);
  QTest::newRow("port held by another program") << "image.dlf" << true << int(m2::kCodePortOpen);
}

void UpdateDialogsTest::startFailureShowsMessageAndReleasesAll() {
  QFETCH(QString, path);
  QFETCH(bool, portHeld);
  QFETCH(int, code);
  UpdateBench bench;
  WriteFile(bench.file("image.dlf"), Pattern(5000));
  m2::UpdateLink holder;
  if (portHeld) QCOMPARE(holder.OpenPort(9, 1, 0, 0, 6, 0), 1);
  QVERIFY(bench.open());
  QPointer<UpdateProgressDialog> progress = bench.startUpdate(path);
  QVERIFY(progress);  // the message comes once its event loop runs
  bench.answers.expect("messageBox", 0);
  QTRY_VERIFY(!progress);
  QCOMPARE(bench.answers.seenNames(),
           (QStringList{"UpdateConfirmDialog", "UpdateProgressDialog", "messageBox"}));
  QCOMPARE(bench.answers.seen()[2].title, kAppTitle);
  QCOMPARE(bench.answers.seen()[2].text, Text(code));
  QVERIFY(bench.senderReleased());
  QVERIFY(FileFree(bench.file("image.dlf")));
  QVERIFY(!bench.dialog->progressDialog());
}

void UpdateDialogsTest::updatesByKeyboardTwiceFromOneWindow() {
  UpdateBench bench;
  const Bytes image = Pattern(40 * 1024 + 7);
  WriteFile(bench.file("image.dlf"), image);
  QVERIFY(bench.open());
  for (int round = 1; round <= 2; ++round) {
    // Type the path, Enter, Enter.
    bench.answers.onShown("UpdateConfirmDialog", [](QDialog* confirm) {
      QTest::keyClick(confirm, Qt::Key_Return);
    });
    bench.pathEdit()->clear();
    QTest::keyClicks(bench.pathEdit(), "image.dlf");
    QTest::keyClick(bench.pathEdit(), Qt::Key_Return);
    QPointer<UpdateProgressDialog> progress = bench.dialog->progressDialog();
    QVERIFY(progress);
    QCOMPARE(progress->windowTitle(), QString("ﾊﾞｰｼﾞｮﾝｱｯﾌﾟの状態"));
    QTRY_COMPARE(QApplication::activeWindow(), progress.data());
    auto* bar = FindControl<QProgressBar>(progress.data(), UpdateProgressDialog::kProgressBar);
    QSignalSpy steps(bar, &QProgressBar::valueChanged);

    QTRY_COMPARE_WITH_TIMEOUT(MessageOf(progress), QString("ﾊﾞｰｼﾞｮﾝｱｯﾌﾟは完了しました"), 20000);
    QCOMPARE(FindControl<QLineEdit>(progress.data(), UpdateProgressDialog::kPercentField)->text(),
             QString("100"));
    QCOMPARE(ButtonOf(progress)->text(), QString("終了"));
    // The bar went through every percent, one at a time.
    QCOMPARE(steps.size(), 100);
    for (int i = 0; i < steps.size(); ++i) QCOMPARE(steps[i][0].toInt(), i + 1);
    Bytes padded = image;
    padded.resize((image.size() + 1023) / 1024 * 1024, 0);
    QVERIFY(bench.received() == padded);

    QTest::keyClick(progress, Qt::Key_Return);  // "終了"
    QTRY_VERIFY(!progress);
    QVERIFY(bench.senderReleased());
    QTRY_COMPARE(QApplication::activeWindow(), bench.dialog.get());
    if (round == 1) {
      bench.startSim({});  // the TA back in its download mode
      WriteFile(bench.file("image.dlf"), image);
    }
  }
  QCOMPARE(bench.answers.seenNames(), (QStringList{"UpdateConfirmDialog", "UpdateProgressDialog",
                                                   "UpdateConfirmDialog", "UpdateProgressDialog"}));
}

void UpdateDialogsTest::abortWhileWaitingShowsAbortAtOnce() {
  UpdateBench bench({"--no-start"});
  WriteFile(bench.file("image.dlf"), Pattern(5000));
  QVERIFY(bench.open());
  QPointer<UpdateProgressDialog> progress = bench.startUpdate("image.dlf");
  QVERIFY(progress);
  QTRY_COMPARE(MessageOf(progress), QString("ｵﾙﾊﾞﾝﾃM-2KLXからの応答を待っています"));
  QCOMPARE(ButtonOf(progress)->text(), QString("中止"));
  {  // A click on the blocked main window: the window manager gives it the keyboard.
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    QTRY_COMPARE(QGuiApplication::focusWindow(), elsewhere.windowHandle());
    emit qGuiApp->focusWindowChanged(bench.dialog->windowHandle());
    QTRY_COMPARE(QGuiApplication::focusWindow(), progress->windowHandle());
  }
  ButtonOf(progress)->click();
  // At once, not after the 20 s start timer.
  QTRY_COMPARE_WITH_TIMEOUT(MessageOf(progress), Text(m2::kCodeUserAbort), 1000);
  QCOMPARE(ButtonOf(progress)->text(), QString("終了"));
  QVERIFY(progress->isVisible());
  ButtonOf(progress)->click();
  QTRY_VERIFY(!progress);
  QVERIFY(bench.senderReleased());
}

void UpdateDialogsTest::f1InTheProgressDialogOpensItsSection() {
  UpdateBench bench({"--no-start"});
  WriteFile(bench.file("image.dlf"), Pattern(5000));
  QVERIFY(bench.open());
  QPointer<UpdateProgressDialog> progress = bench.startUpdate("image.dlf");
  QVERIFY(progress);
  QStringList sections;
  m2::ui::SetUrlOpener([&](const QUrl& url) {
    sections << url.fragment();
    return true;
  });
  QTest::keyClick(progress, Qt::Key_F1);
  m2::ui::SetUrlOpener({});
  QCOMPARE(sections, QStringList{"UpdateProgressDialog"});
  ButtonOf(progress)->click();
  QTRY_COMPARE(MessageOf(progress), Text(m2::kCodeUserAbort));
  ButtonOf(progress)->click();
  QTRY_VERIFY(!progress);
}

void UpdateDialogsTest::escapeDuringTransferStopsWithoutCan_data() {
  QTest::addColumn<bool>("closeBox");
  QTest::newRow("Escape") << false;
  QTest::newRow("close box") << true;
}

void UpdateDialogsTest::escapeDuringTransferStopsWithoutCan() {
  QFETCH(bool, closeBox);
  UpdateBench bench({"--ack-delay-ms", "20"});
  WriteFile(bench.file("image.dlf"), Pattern(300 * 1024));
  QVERIFY(bench.open());
  QPointer<UpdateProgressDialog> progress = bench.startUpdate("image.dlf");
  QVERIFY(progress);
  QTRY_VERIFY(Contains(bench.sim->commandLog(), "block 3"));
  // Shown again (restored from minimised): the update runs on, not started afresh.
  QShowEvent again;
  QApplication::sendEvent(progress, &again);
  QTRY_VERIFY(Contains(bench.sim->commandLog(), "block 6"));
  QCOMPARE(MessageOf(progress), QString("ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙを転送しています"));
  if (closeBox)
    progress->close();
  else
    QTest::keyClick(progress, Qt::Key_Escape);
  QTRY_VERIFY_WITH_TIMEOUT(!progress, 2000);
  QVERIFY(bench.senderReleased());

  // An EOT sent now reaches the TA after anything the sender wrote; it saw no CAN before.
  const int fd = ::open(bench.sim->linkPath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  QVERIFY(fd >= 0);
  QCOMPARE(::write(fd, "\x04", 1), ssize_t(1));
  QTRY_VERIFY(Contains(bench.sim->commandLog(), "EOT"));
  ::close(fd);
  QVERIFY(!Contains(bench.sim->commandLog(), "CAN"));
  QVERIFY(bench.dialog->isVisible());
}

QTEST_MAIN(UpdateDialogsTest)
#include "update_dialogs_test.moc"
