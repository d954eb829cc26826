// The main window against m2sim: start-up, the read flow, the exit question and its order
// of saving and storing, and input dropped while a transaction waits.
#include <signal.h>
#include <sys/resource.h>

#include <QFileInfo>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>

#include "serial/device_lock.h"
#include "serial/error_table.h"
#include "settings/settings_record.h"
#include "setup_ui/confirm_dialogs.h"
#include "setup_bench.h"
#include "setup_ui/terminal_dialog.h"
#include "update/child_process.h"
#include "ui_common/help_opener.h"
#include "ui_common/string_resource.h"
#include "ui_common/template_layout.h"

using m2::setup::ExitConfirmDialog;
using m2::setup::ReadConfirmDialog;
using m2::test::Messages;
using m2::test::SetupBench;

namespace {

QString Message(int code) { return m2::ui::Qs(m2::ErrorMessageText(code)); }

bool Exists(const SetupBench& bench, const char* name) {
  return std::filesystem::exists(bench.file(name));
}

std::ptrdiff_t IndexOf(const std::vector<std::string>& log, const std::string& command) {
  auto it = std::find(log.begin(), log.end(), command);
  return it == log.end() ? -1 : it - log.begin();
}

// A settings file with a value the TA's factory settings do not have.
void WriteMarkedSettingsFile(const SetupBench& bench) {
  m2::CKB45mRXObj record;
  record.LoadDefaults();
  record.m_data.m_tel1.m_strOwnAddress = "0312345678";
  record.SetFilePath(bench.file("M2SetupV100.dat"));
  QVERIFY(record.SaveFile());
}

}  // namespace

class MainDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void startWithoutFileLeavesWithoutQuestion();
  void silentTaAskAtStartAndNoKeepsTheProgramUsable();
  void startupYesEndsTheProgram();
  void readThenLeave_data();
  void readThenLeave();
  void defaultsThenLeave_data();
  void defaultsThenLeave();
  void inputDuringTransactionIsDropped();
  void helpOpensTheHelpFileElseTheGuide();
  void f1OpensTheSectionOfTheWindowItIsPressedIn();
  void failedSaveAtLeavingKeepsTheProgramAndThePort();
  void terminationSignalLeavesAsTheCloseBoxDoes();
};

void MainDialogTest::startWithoutFileLeavesWithoutQuestion() {
  SetupBench bench({}, Messages::MessageBoxes);
  QVERIFY(bench.open());
  QCOMPARE(bench.dialog->link().connected, 1);
  QCOMPARE(bench.dialog->windowTitle(), QString("ｵﾙﾊﾞﾝﾃM-2KLX 簡単設定ﾕｰﾃｨﾘﾃｨ Ver. 1.10"));
  QCOMPARE(bench.dialog->settingsFileLoaded, 0);

  // The view menu offers three items; the terminal is not among them.
  const QList<QMenu*> menus = bench.dialog->findChildren<QMenu*>();
  auto view = std::find_if(menus.begin(), menus.end(),
                           [](QMenu* m) { return m->title() == "表示(&V)"; });
  QVERIFY(view != menus.end());
  QCOMPARE((*view)->actions().size(), 3);
  QVERIFY(!bench.dialog->findChild<QAction*>("cmd32774"));

  QTest::keyClick(bench.dialog.get(), Qt::Key_Escape);
  QTRY_VERIFY(!bench.dialog->isVisible());
  QVERIFY(bench.answers.seen().isEmpty());
  QCOMPARE(bench.dialog->link().connected, 0);
  QVERIFY(!Exists(bench, "M2SetupV100.dat"));
}

void MainDialogTest::silentTaAskAtStartAndNoKeepsTheProgramUsable() {
  SetupBench bench({"--silent-after", "0"}, Messages::MessageBoxes);
  bench.answers.expect("StartupErrorDialog", m2::setup::kIdCancel);
  QVERIFY(bench.open());
  QCOMPARE(bench.answers.seenNames(), QStringList{"StartupErrorDialog"});
  QVERIFY(bench.answers.seen()[0].text.contains(Message(4)));
  QVERIFY(bench.answers.seen()[0].text.contains("簡単設定ﾕｰﾃｨﾘﾃｨを終了しますか？"));
  QVERIFY(bench.dialog->isVisible());
  QCOMPARE(bench.dialog->link().connected, 0);

  // Enter reaches the read button; the read connects again and reports in a message box.
  bench.answers.expect("ReadConfirmDialog", ReadConfirmDialog::kReadId);
  bench.answers.expect("messageBox", 0);
  QTest::keyClick(bench.dialog.get(), Qt::Key_Return);
  QTRY_COMPARE(bench.answers.seenNames(),
               (QStringList{"StartupErrorDialog", "ReadConfirmDialog", "messageBox"}));
  QCOMPARE(bench.answers.seen()[2].text, Message(4));
  QCOMPARE(bench.answers.seen()[2].title, QString("ｵﾙﾊﾞﾝﾃM-2KLX 簡単設定ﾕｰﾃｨﾘﾃｨ "));
  QCOMPARE(bench.answers.pending(), 0);

  // Nothing was read: leaving asks nothing.
  QTest::keyClick(bench.dialog.get(), Qt::Key_Escape);
  QTRY_VERIFY(!bench.dialog->isVisible());
  QCOMPARE(bench.answers.seen().size(), 3);
}

void MainDialogTest::startupYesEndsTheProgram() {
  SetupBench bench({"--silent-after", "0"}, Messages::MessageBoxes);
  bench.answers.expect("StartupErrorDialog", m2::setup::kIdOk);
  bench.dialog->show();
  QTRY_VERIFY(!bench.dialog->isVisible());
  QCOMPARE(bench.answers.seenNames(), QStringList{"StartupErrorDialog"});
}

void MainDialogTest::readThenLeave_data() {
  QTest::addColumn<int>("answer");
  QTest::addColumn<bool>("fileWritten");
  QTest::addColumn<bool>("stillOpen");
  QTest::newRow("yes saves") << m2::setup::kIdOk << true << false;
  QTest::newRow("no leaves the file alone") << int(ExitConfirmDialog::kNoId) << false << false;
  QTest::newRow("cancel stays") << m2::setup::kIdCancel << false << true;
}

void MainDialogTest::readThenLeave() {
  QFETCH(int, answer);
  QFETCH(bool, fileWritten);
  QFETCH(bool, stillOpen);
  SetupBench bench;
  QVERIFY(bench.open());
  bench.answers.expect("ReadConfirmDialog", ReadConfirmDialog::kReadId);
  bench.dialog->findChild<QPushButton*>(m2::ui::ControlName(1013))->click();
  QTRY_COMPARE(bench.dialog->record().m_bModified, 1);
  QCOMPARE(bench.dialog->record().m_bTaChanged, 0);
  QVERIFY(bench.sim.waitForCommands(10, std::chrono::seconds(5)));

  bench.answers.expect("ExitConfirmDialog", answer);
  bench.dialog->findChild<QPushButton*>(m2::ui::ControlName(1))->click();
  QTRY_COMPARE(bench.answers.seenNames().last(), QString("ExitConfirmDialog"));
  QTRY_COMPARE(bench.dialog->isVisible(), stillOpen);
  QCOMPARE(Exists(bench, "M2SetupV100.dat"), fileWritten);
  QCOMPARE(bench.dialog->link().connected, stillOpen ? 1 : 0);
  QCOMPARE(IndexOf(bench.sim.commandLog(), "AT&W0"), -1);  // the TA was not written to
}

void MainDialogTest::defaultsThenLeave_data() {
  QTest::addColumn<bool>("fileAtStart");
  QTest::newRow("settings file read at start") << true;
  QTest::newRow("no settings file at start") << false;
}

void MainDialogTest::defaultsThenLeave() {
  QFETCH(bool, fileAtStart);
  SetupBench bench;
  if (fileAtStart) {
    WriteMarkedSettingsFile(bench);
    bench.dialog = std::make_unique<m2::setup::SetupMainDialog>(
        m2::setup::SetupOptions{std::chrono::milliseconds(300), &bench.dialogs});
  }
  QVERIFY(bench.open());
  QCOMPARE(bench.dialog->settingsFileLoaded, fileAtStart ? 1 : 0);

  bench.answers.expect("ReadConfirmDialog", ReadConfirmDialog::kDefaultsId);
  bench.answers.expect("DefaultsConfirmDialog", m2::setup::kIdOk);
  bench.dialog->ReadFromTa();
  QCOMPARE(bench.answers.seenNames(), (QStringList{"ReadConfirmDialog", "DefaultsConfirmDialog"}));
  QCOMPARE(bench.dialog->record().m_bTaChanged, 1);
  QCOMPARE(bench.dialog->record().m_bModified, fileAtStart ? 1 : 0);
  QVERIFY(bench.dialog->record().m_data.m_tel1.m_strOwnAddress.empty());

  bench.answers.expect("ExitConfirmDialog", m2::setup::kIdOk);
  QTest::keyClick(bench.dialog.get(), Qt::Key_Escape);
  QTRY_VERIFY(!bench.dialog->isVisible());

  // AT&W0 comes last, after the reset; AT&F gave the TA its factory result-code modes, so
  // there is nothing to restore.
  const auto log = bench.sim.commandLog();
  const auto reset = IndexOf(log, "AT&F");
  QVERIFY(reset >= 0);
  QCOMPARE(IndexOf(log, "AT&W0"), static_cast<std::ptrdiff_t>(log.size()) - 1);
  QCOMPARE(Exists(bench, "M2SetupV100.dat"), fileAtStart);
  if (fileAtStart) {
    m2::CKB45mRXObj saved;
    saved.SetFilePath(bench.file("M2SetupV100.dat"));
    QCOMPARE(saved.LoadFile(0, bench.dialog->link()), 1);
    QVERIFY(saved.m_data.m_tel1.m_strOwnAddress.empty());  // the factory settings were saved
  }
}

void MainDialogTest::inputDuringTransactionIsDropped() {
  // A TA that drips its replies: the read takes a while, and meanwhile the user clicks
  // "終了(&E)", presses Escape and Enter.
  SetupBench bench({"--drip-ms", "1"});
  QVERIFY(bench.open());
  auto* exitButton = bench.dialog->findChild<QPushButton*>(m2::ui::ControlName(1));
  int exitClicks = 0;
  connect(exitButton, &QPushButton::clicked, [&] { ++exitClicks; });
  int attempts = 0;
  QTimer poke;
  connect(&poke, &QTimer::timeout, [&] {
    if (bench.dialog->record().m_bModified == 1) return;  // the read is over
    ++attempts;
    QTest::mouseClick(exitButton, Qt::LeftButton);
    QTest::keyClick(bench.dialog.get(), Qt::Key_Escape);
    QTest::keyClick(bench.dialog.get(), Qt::Key_Return);
  });
  bench.answers.expect("ReadConfirmDialog", ReadConfirmDialog::kReadId);
  bench.answers.onShown("ReadConfirmDialog", [&](QDialog*) { poke.start(50); });
  bench.dialog->ReadFromTa();
  poke.stop();

  QCOMPARE(bench.dialog->record().m_bModified, 1);  // the read completed
  QVERIFY(attempts >= 3);
  QCOMPARE(exitClicks, 0);
  QCOMPARE(bench.answers.seenNames(), QStringList{"ReadConfirmDialog"});
  // Nothing was queued for later either.
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents();
  QCOMPARE(exitClicks, 0);
  QCOMPARE(bench.answers.seenNames(), QStringList{"ReadConfirmDialog"});
  QVERIFY(bench.dialog->isVisible());
}

void MainDialogTest::helpOpensTheHelpFileElseTheGuide() {
  SetupBench bench({}, Messages::MessageBoxes);
  QVERIFY(bench.open());
  QList<QUrl> opened;
  bool openerWorks = true;
  m2::ui::SetUrlOpener([&](const QUrl& url) {
    opened << url;
    return openerWorks;
  });
  auto* help = bench.dialog->findChild<QPushButton*>(m2::ui::ControlName(57670));

  help->click();  // no M2Setup.hlp here: our guide, at the main window's section
  QCOMPARE(opened.size(), 1);
  QVERIFY(opened[0].isLocalFile());
  QVERIFY(opened[0].toLocalFile().endsWith("/M2Setup.html"));
  QCOMPARE(opened[0].fragment(), QString("SetupMainDialog"));

  std::FILE* hlp = std::fopen(bench.file("M2Setup.hlp").c_str(), "w");
  QVERIFY(hlp);
  std::fclose(hlp);
  help->click();
  QCOMPARE(opened.size(), 2);
  QCOMPARE(QFileInfo(opened[1].toLocalFile()).canonicalFilePath(),
           QFileInfo(QString::fromStdString(bench.file("M2Setup.hlp"))).canonicalFilePath());

  openerWorks = false;  // nothing on this desktop can open it: say so
  bench.answers.expect("messageBox", 0);
  help->click();
  QCOMPARE(bench.answers.seenNames(), QStringList{"messageBox"});
  QVERIFY(bench.answers.seen()[0].text.contains("M2Setup.hlp"));
  m2::ui::SetUrlOpener({});
}

void MainDialogTest::f1OpensTheSectionOfTheWindowItIsPressedIn() {
  SetupBench bench;
  QVERIFY(bench.open());
  std::FILE* guide = std::fopen(bench.file("M2Setup.html").c_str(), "w");
  QVERIFY(guide);
  std::fputs(R"(<h2 id="CPSheetAnalog"></h2><h2 id="ChargeDialog"></h2><h2 id="TerminalDialog"></h2>)",
             guide);
  std::fclose(guide);
  m2::ui::SetGuideFolder(QString::fromStdString(bench.sim.dir()));
  QStringList sections;
  m2::ui::SetUrlOpener([&](const QUrl& url) {
    sections << url.fragment();
    return true;
  });
  const auto pressF1 = [](QDialog* dialog) {
    QTest::keyClick(dialog, Qt::Key_F1);
    dialog->reject();
  };
  bench.answers.onShown("CPSheetAnalog", pressF1);
  bench.dialog->ShowSheet(m2::setup::SheetKind::Analog);
  bench.answers.onShown("ChargeDialog", pressF1);
  bench.dialog->RunStatusDialog(m2::setup::StatusKind::Charges);
  bench.dialog->OpenTerminal();
  QTest::keyClick(bench.dialog->TerminalWindowPtr, Qt::Key_F1);
  m2::ui::SetUrlOpener({});
  m2::ui::SetGuideFolder({});
  QCOMPARE(sections, (QStringList{"CPSheetAnalog", "ChargeDialog", "TerminalDialog"}));
}

void MainDialogTest::failedSaveAtLeavingKeepsTheProgramAndThePort() {
  SetupBench bench;
  QVERIFY(bench.open());
  bench.dialog->record().m_bModified = 1;
  const std::size_t sent = bench.sim.commandLog().size();
  // A full disk: no file of this process may grow past 300 bytes (the settings file has 544).
  rlimit old{};
  QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
  const rlimit full{300, old.rlim_max};
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  QCOMPARE(setrlimit(RLIMIT_FSIZE, &full), 0);
  bench.answers.expect("ExitConfirmDialog", m2::setup::kIdOk);
  bench.dialog->findChild<QPushButton*>(m2::ui::ControlName(1))->click();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  QCOMPARE(bench.answers.seenNames(), QStringList{"ExitConfirmDialog"});
  QCOMPARE(bench.dialogs.messages(), std::vector<std::string>{"設定保存ﾌｧｲﾙに書き込めません"});
  QVERIFY(bench.dialog->isVisible());
  QCOMPARE(bench.dialog->link().connected, 1);
  QCOMPARE(bench.sim.commandLog().size(), sent);  // nothing sent to the TA
  QCOMPARE(bench.dialog->record().m_bModified, 1);
}

void MainDialogTest::terminationSignalLeavesAsTheCloseBoxDoes() {
  // A TA with numeric result codes: M2Setup turns them verbose (ATV1) while it runs. The
  // second TA falls silent after ATI4, so the signal comes while the start-up waits for it.
  for (const bool silentAtStart : {false, true}) {
    std::vector<std::string> options{"--numeric"};
    if (silentAtStart) options.insert(options.end(), {"--silent-after", "3"});
    m2::test::SimProcess sim(options);
    char real[PATH_MAX];
    QVERIFY(::realpath(sim.linkPath().c_str(), real));
    const std::string lockFile =
        m2::DeviceLock::LockDirectory() + "/" + m2::DeviceLock::LockFileName(real);
    m2::test::ChildProcess setup({m2::test::BinPath("M2Setup")}, sim.dir());
    QVERIFY(sim.waitForCommands(4, std::chrono::seconds(10)));  // ATI0 ATV1 ATI4 ATI3
    QVERIFY(std::filesystem::exists(lockFile));
    setup.signal(SIGTERM);
    QCOMPARE(setup.wait(std::chrono::seconds(10)), 128 + SIGTERM);
    QCOMPARE(QString::fromStdString(sim.commandLog().back()), QString("ATV0"));
    QVERIFY(!std::filesystem::exists(lockFile));
    QVERIFY(!std::filesystem::exists(sim.file("M2SetupV100.dat")));
  }
}

QTEST_MAIN(MainDialogTest)
#include "main_dialog_test.moc"
