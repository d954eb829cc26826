// The status dialogs, the simple terminal and the version dialog against m2sim, opened the
// ways the main window offers them.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>

#include "serial/error_table.h"
#include "settings/cp932.h"
#include "setup_bench.h"
#include "setup_ui/charge_dialog.h"
#include "setup_ui/confirm_dialogs.h"
#include "setup_ui/setup_strings.h"
#include "setup_ui/terminal_dialog.h"
#include "setup_ui/terminal_edit.h"
#include "ui_common/string_resource.h"
#include "ui_common/template_layout.h"

using m2::setup::TerminalDialog;
using m2::test::Messages;
using m2::test::SetupBench;
using Strings = std::vector<std::string>;

namespace {

// A firmware version with half-width katakana, as the TA sends it (CP932).
const QString kVersion = QStringLiteral("V1.10 ｵﾙﾊﾞﾝﾃ");
std::string VersionArgument() { return *m2::Utf8ToCp932(kVersion.toStdString()); }

QString Message(int code) { return m2::ui::Qs(m2::ErrorMessageText(code)); }

QString FieldText(const QDialog* dialog, int id) {
  if (auto* line = m2::ui::FindControl<QLineEdit>(dialog, id)) return line->text();
  if (auto* box = m2::ui::FindControl<QPlainTextEdit>(dialog, id)) return box->toPlainText();
  if (auto* label = m2::ui::FindControl<QLabel>(dialog, id)) return label->text();
  return QStringLiteral("<no field %1>").arg(id);
}

QStringList FieldTexts(const QDialog* dialog, std::initializer_list<int> ids) {
  QStringList texts;
  for (int id : ids) texts << FieldText(dialog, id);
  return texts;
}

void Trigger(SetupBench& bench, int command) {
  bench.dialog->findChild<QAction*>(QStringLiteral("cmd%1").arg(command))->trigger();
}

// The commands the TA received from the given line of its log on.
Strings LogFrom(const SetupBench& bench, std::size_t first) {
  const Strings log = bench.sim.commandLog();
  return first < log.size() ? Strings(log.begin() + static_cast<std::ptrdiff_t>(first), log.end())
                            : Strings{};
}

void CtrlThenT(SetupBench& bench) {
  QTest::keyClick(bench.dialog->PcSettingsList, Qt::Key_Control, Qt::ControlModifier);
  QTest::keyClick(bench.dialog->PcSettingsList, Qt::Key_T, Qt::ControlModifier);
}

m2::setup::TerminalEdit* TerminalEditOf(const SetupBench& bench) {
  return m2::ui::FindControl<m2::setup::TerminalEdit>(bench.dialog->TerminalWindowPtr,
                                                      TerminalDialog::kEditId);
}

}  // namespace

class StatusDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void chargeDialog_data();
  void chargeDialog();
  void callAndLineStatusConnectFirst();
  void terminal();
  void anEchoedKeyShowsAtOnce();
  void terminalKeyWithoutTa_data();
  void terminalKeyWithoutTa();
  void versionDialogBeforeAndAfterIdentification();
};

constexpr std::initializer_list<int> kChargeFields{1302, 1303, 1304, 1305, 1306, 1307};

void StatusDialogsTest::chargeDialog_data() {
  QTest::addColumn<Strings>("simArgs");
  QTest::addColumn<QStringList>("shown");
  QTest::addColumn<QStringList>("afterClearAll");
  QTest::addColumn<Strings>("commands");
  QTest::addColumn<int>("messages");
  // m2sim: last call TEL1 30, TEL2 0, DTE 0; accumulated TEL1 450, TEL2 80, DTE 120.
  QTest::newRow("answered") << Strings{} << QStringList{"30", "450", "0", "80", "0", "120"}
                            << QStringList{"30", "0", "0", "0", "0", "0"}
                            << Strings{"AT$A", "AT$B", "AT$D2", "AT$B2", "AT$D", "AT$B"} << 0;
  QTest::newRow("beyond 32 bits") << Strings{"--total-charge", "1=4294967296"}
                                  << QStringList{"30", "4294967296", "0", "80", "0", "120"}
                                  << QStringList{"30", "0", "0", "0", "0", "0"}
                                  << Strings{"AT$A", "AT$B", "AT$D2", "AT$B2", "AT$D", "AT$B"} << 0;
  // TEL1's line is missing: the last charges fail and the accumulated ones are not asked
  // for; clearing TEL2 alone works, the all-ports reading fails again.
  QTest::newRow("last charges fail") << Strings{"--omit-item", "1"}
                                     << QStringList{"", "", "", "", "", ""}
                                     << QStringList{"", "", "", "0", "", ""}
                                     << Strings{"AT$A", "AT$D2", "AT$B2", "AT$D", "AT$B"} << 2;
}

void StatusDialogsTest::chargeDialog() {
  QFETCH(Strings, simArgs);
  QFETCH(QStringList, shown);
  QFETCH(QStringList, afterClearAll);
  QFETCH(Strings, commands);
  QFETCH(int, messages);
  SetupBench bench(simArgs);
  QVERIFY(bench.open());
  const std::size_t before = bench.sim.commandLog().size();

  QStringList opened, afterClear, afterAll;
  bool rightAligned = false;
  bench.answers.onShown("ChargeDialog", [&](QDialog* d) {
    opened = FieldTexts(d, kChargeFields);
    rightAligned = m2::ui::FindControl<QLineEdit>(d, 1303)->alignment() & Qt::AlignRight;
    m2::ui::FindControl<QPushButton>(d, m2::setup::ChargeDialog::kClearTel2)->click();
    afterClear = FieldTexts(d, kChargeFields);
    m2::ui::FindControl<QPushButton>(d, m2::setup::ChargeDialog::kClearAll)->click();
    afterAll = FieldTexts(d, kChargeFields);
  });
  bench.answers.expect("ChargeDialog", 1);
  Trigger(bench, 32772);

  QCOMPARE(bench.answers.seenNames(), QStringList{"ChargeDialog"});
  QCOMPARE(opened, shown);
  QVERIFY(rightAligned);
  shown[3] = "0";  // only TEL2's accumulated charge changes
  QCOMPARE(afterClear, shown);
  QCOMPARE(afterAll, afterClearAll);
  QCOMPARE(LogFrom(bench, before), commands);
  const std::string unrecognised(m2::ErrorMessageText(9));
  QCOMPARE(bench.dialogs.messages(), Strings(static_cast<std::size_t>(messages), unrecognised));
}

void StatusDialogsTest::callAndLineStatusConnectFirst() {
  SetupBench bench({"--s112", "6"});  // layer 1 out of sync, layer 2 up
  QVERIFY(bench.open());
  bench.dialog->link().DisconnectTa(1);
  const std::size_t before = bench.sim.commandLog().size();

  // From the second row of the status list: the first exchange connects and identifies.
  QStringList causes;
  bench.answers.onShown("CallStatusDialog",
                        [&](QDialog* d) { causes = FieldTexts(d, {1354, 1355, 1356}); });
  bench.answers.expect("CallStatusDialog", 1);
  QListWidget* list = bench.dialog->TaStatusList;
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                     list->visualItemRect(list->item(1)).center());
  QTRY_COMPARE(bench.answers.seenNames(), QStringList{"CallStatusDialog"});
  QCOMPARE(causes, (QStringList{"正常切断 (016)", "使用できるﾁｬﾈﾙなし(Bch) (034)", ""}));
  QCOMPARE(LogFrom(bench, before), (Strings{"ATI0", "ATI4", "ATI3", "AT$C"}));

  QStringList states;
  bench.answers.onShown("LineStatusDialog", [&](QDialog* d) {
    states = FieldTexts(d, {1351, 1352, 1326, 1323, 1325, 1357, 1322, 1321});
  });
  bench.answers.expect("LineStatusDialog", 1);
  Trigger(bench, 32773);
  // S115 13: ER, DR and CS on.
  QCOMPARE(states, (QStringList{"DOWN", "UP", "ON", "OFF", "ON", "OFF", "ON", "OFF"}));
  QCOMPARE(LogFrom(bench, before + 4), (Strings{"ATS112?", "ATS115?"}));
  QVERIFY(bench.dialogs.messages().empty());
}

void StatusDialogsTest::terminal() {
  SetupBench bench({"--no-echo", "--version", VersionArgument()});
  QVERIFY(bench.open());
  QTest::keyClick(bench.dialog->PcSettingsList, Qt::Key_T);
  QVERIFY(!bench.dialog->TerminalWindowPtr);
  CtrlThenT(bench);
  TerminalDialog* terminal = bench.dialog->TerminalWindowPtr;
  QVERIFY(terminal);
  QVERIFY(terminal->isVisible());
  QCOMPARE(terminal->windowTitle(), QString("簡易ﾀｰﾐﾅﾙ"));
  CtrlThenT(bench);  // activates the open window
  QCOMPARE(bench.dialog->TerminalWindowPtr, terminal);
  QCOMPARE(bench.dialog->findChildren<TerminalDialog*>().size(), 1);

  // Typed keys go out once each and are not shown; the reply's CR LF are one line break each.
  QTest::keyClicks(TerminalEditOf(bench), "ATI3");
  QTest::keyClick(TerminalEditOf(bench), Qt::Key_Return);
  QTRY_COMPARE(TerminalEditOf(bench)->toPlainText(), "\n" + kVersion + "\n\nOK\n");
  QCOMPARE(bench.sim.commandLog().back(), std::string("ATI3"));
  bench.dialog->link().link().Trace("<CE-4>");
  QTRY_VERIFY(TerminalEditOf(bench)->toPlainText().endsWith("OK\n<CE-4>"));

  // Closed: traces go nowhere, and the window comes back empty.
  terminal->findChild<QPushButton*>(m2::ui::ControlName(TerminalDialog::kOkId))->click();
  QVERIFY(!bench.dialog->TerminalWindowPtr);
  QVERIFY(!bench.dialog->link().link().terminalOutput());
  bench.dialog->link().link().Trace("<CE-5>");
  CtrlThenT(bench);
  QVERIFY(bench.dialog->TerminalWindowPtr);
  QTest::keyClicks(TerminalEditOf(bench), "AT");
  QTest::keyClick(TerminalEditOf(bench), Qt::Key_Return);
  QTRY_COMPARE(TerminalEditOf(bench)->toPlainText(), QString("\nOK\n"));
}

void StatusDialogsTest::anEchoedKeyShowsAtOnce() {
  SetupBench bench;  // the TA echoes
  QVERIFY(bench.open());
  CtrlThenT(bench);
  QVERIFY(TerminalEditOf(bench));
  // An empty line comes back as its echo alone: one byte, and nothing after it.
  QTest::keyClick(TerminalEditOf(bench), Qt::Key_Return);
  QTRY_COMPARE(TerminalEditOf(bench)->toPlainText(), QString("\n"));
}

void StatusDialogsTest::terminalKeyWithoutTa_data() {
  QTest::addColumn<bool>("taGone");
  QTest::newRow("silent TA") << false;
  QTest::newRow("TA gone while connected") << true;
}

void StatusDialogsTest::terminalKeyWithoutTa() {
  QFETCH(bool, taGone);
  SetupBench bench(taGone ? Strings{} : Strings{"--silent-after", "0"}, Messages::MessageBoxes);
  if (!taGone) bench.answers.expect("StartupErrorDialog", m2::setup::kIdCancel);
  QVERIFY(bench.open());
  QCOMPARE(bench.dialog->link().connected, taGone ? 1 : 0);
  CtrlThenT(bench);
  QVERIFY(TerminalEditOf(bench));
  if (taGone) {
    bench.sim.killHard();
    QTRY_VERIFY(bench.dialog->link().link().deviceGone());
  }

  // The key connects first; the failure is shown and the key dropped.
  bench.answers.expect("messageBox", 0);
  QTest::keyClick(TerminalEditOf(bench), Qt::Key_A);
  QCOMPARE(bench.answers.seenNames().last(), QString("messageBox"));
  QCOMPARE(bench.answers.seen().last().text, Message(taGone ? 2 : 4));
  QCOMPARE(bench.dialog->link().connected, 0);
  QVERIFY(bench.dialog->TerminalWindowPtr->isVisible());
  if (!taGone) QCOMPARE(bench.sim.commandLog(), (Strings{"ATI0", "ATI0"}));
}

void StatusDialogsTest::versionDialogBeforeAndAfterIdentification() {
  SetupBench bench({"--version", VersionArgument()});
  QStringList texts;
  auto read = [&](QDialog* d) { texts = FieldTexts(d, {1607, 1606, 1604}); };
  const QString utility = "ｵﾙﾊﾞﾝﾃM-2KLX 簡単設定ﾕｰﾃｨﾘﾃｨ Ver. 1.10";
  const QString notice = m2::setup::SetupString(m2::setup::str::kVendorNotice);
  QVERIFY(!notice.isEmpty());

  QString folder;
  bench.answers.onShown("SetupAboutDialog", [&](QDialog* d) {
    read(d);
    folder = FieldText(d, 1690);
  });
  bench.answers.expect("SetupAboutDialog", 1);
  bench.dialog->ShowAbout();
  QCOMPARE(texts, (QStringList{utility, " ﾒｰｶｰ:      \n ﾊﾞｰｼﾞｮﾝ:   ", notice}));
  // The folder the settings file is in: the working folder.
  QCOMPARE(folder, QString::fromStdString(bench.sim.dir()));

  QVERIFY(bench.open());
  bench.answers.onShown("SetupAboutDialog", read);
  bench.answers.expect("SetupAboutDialog", 1);
  Trigger(bench, 57664);
  QCOMPARE(texts, (QStringList{utility,
                               " ﾒｰｶｰ:      ORVANTE M-2KLX QRB Corporation\n ﾊﾞｰｼﾞｮﾝ:   " + kVersion,
                               notice}));
  QCOMPARE(bench.answers.seenNames(), (QStringList{"SetupAboutDialog", "SetupAboutDialog"}));
}

QTEST_MAIN(StatusDialogsTest)
#include "status_dialogs_test.moc"
