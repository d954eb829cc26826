// The analog, flexphone, data port and PC port sheets: the apply button, the commands each
// sheet's "更新" sends (the simulator's log is the oracle), the enabling rules, the
// address filter, the range messages, and what OK and cancel leave in the record.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <filesystem>
#include <memory>

#include "serial/console_ui.h"
#include "serial/link_owner.h"
#include "settings/write_commands.h"
#include "setup_bench.h"
#include "setup_ui/analog_pages.h"
#include "setup_ui/analog_sheet.h"
#include "setup_ui/data_sheet.h"
#include "setup_ui/flex_sheets.h"
#include "setup_ui/property_page.h"
#include "ui_common/template_layout.h"

using m2::CKB45mRXObj;
using m2::setup::PropertySheet;
using m2::test::SetupBench;
using m2::ui::FindControl;

namespace {

enum class Sheet { Analog, Tel1Flex, Tel2Flex, Data };

std::unique_ptr<PropertySheet> MakeSheet(Sheet kind, CKB45mRXObj& record, m2::LinkOwner& link) {
  switch (kind) {
    case Sheet::Analog:
      return std::make_unique<m2::setup::CPSheetAnalog>(record, link, nullptr);
    case Sheet::Tel1Flex:
      return std::make_unique<m2::setup::CPSheetAnalogP1Flex>(record, link, nullptr);
    case Sheet::Tel2Flex:
      return std::make_unique<m2::setup::CPSheetAnalogP2Flex>(record, link, nullptr);
    case Sheet::Data:
      return std::make_unique<m2::setup::CPSheetData>(record, link, nullptr);
  }
  return nullptr;
}

// The commands as the simulator logs them: without the carriage return.
std::vector<std::string> Logged(const m2::CommandList& commands) {
  std::vector<std::string> lines;
  for (std::string c : commands) {
    if (!c.empty() && c.back() == '\r') c.pop_back();
    lines.push_back(c);
  }
  return lines;
}

std::vector<std::string> After(const std::vector<std::string>& log, std::size_t from) {
  return {log.begin() + static_cast<std::ptrdiff_t>(std::min(from, log.size())), log.end()};
}

// Typed one key at a time; QTest::keyClicks takes Latin-1 only.
void Type(QWidget* widget, const QString& text) {
  for (const QChar c : text)
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), {});
}

QPushButton* Apply(const QWidget* sheet) {
  return FindControl<QPushButton>(sheet, PropertySheet::kApplyId);
}

// A record and a link that never connects, for what happens before any write.
struct Offline {
  Offline() { record.LoadDefaults(); }
  m2::test::ModalAnswerer answers;  // an unexpected dialog fails the test at once
  m2::ConsoleDialogs dialogs{nullptr, 0};
  m2::BlockingBurstWaiter waiter;
  m2::LinkOwner link{dialogs, waiter};
  CKB45mRXObj record;
};

}  // namespace

class SheetsTest : public QObject {
  Q_OBJECT

 private slots:
  void analogApplySendsEveryPageAndCancelKeepsTheRecord();
  void applySendsTheSheetsCommands_data();
  void applySendsTheSheetsCommands();
  void pseudoCallWaitingDisablesThreeBoxes();
  void addressFieldsFilterTypingOnly();
  void rangeMessagesPutTheFocusBack_data();
  void rangeMessagesPutTheFocusBack();
  void aRefusedValueKeepsItsTabOnTop();
  void noRangeMessageOnDeactivationNorAfterCancel();
  void aClosedDropDownIsTwelveUnitsHigh();
  void flexphoneOkSurvivesTheOuterCancel();
  void pcPortApplyReconnectsOkOnlyCopiesBack();
};

void SheetsTest::analogApplySendsEveryPageAndCancelKeepsTheRecord() {
  SetupBench bench;
  QVERIFY(bench.open());
  CKB45mRXObj& record = bench.dialog->record();
  const m2::SettingsData before = record.m_data;
  std::size_t logged = 0;
  m2::CommandList expected;

  bench.answers.onShown("CPSheetAnalog", [&](QDialog* sheet) {
    QVERIFY(!Apply(sheet)->isEnabled());
    // One change on a page that was never shown.
    QWidget* tel2 = sheet->findChild<QWidget*>("CPPageAnalogP2");
    QVERIFY(!tel2->isVisible());
    QVERIFY(!FindControl<QCheckBox>(tel2, 1124));  // TEL2 has no polarity reversal
    FindControl<QCheckBox>(tel2, 1120)->click();
    QVERIFY(Apply(sheet)->isEnabled());
    QCOMPARE(record.Edited(m2::SettingsGroup::Tel2), 1);

    m2::AnalogPortSettings tel2Now = before.m_tel2;
    tel2Now.m_bHlcDiscriminate = !tel2Now.m_bHlcDiscriminate;
    expected = m2::AnalogSheetCommands(before.m_tel1, tel2Now, before.m_common);
    logged = bench.sim.commandLog().size();
    Apply(sheet)->click();
    QVERIFY(!Apply(sheet)->isEnabled());
  });
  bench.answers.expect("CPSheetAnalog", PropertySheet::kCancelId);
  bench.dialog->ShowSheet(m2::setup::SheetKind::Analog);

  QCOMPARE(expected.size(), std::size_t{23});
  QCOMPARE(After(bench.sim.commandLog(), logged), Logged(expected));
  QCOMPARE(record.m_bTaChanged, 1);
  QVERIFY(record.m_data == before);
  QCOMPARE(record.m_bModified, 0);
  QVERIFY(bench.dialogs.messages().empty());
}

void SheetsTest::applySendsTheSheetsCommands_data() {
  QTest::addColumn<int>("sheet");
  QTest::newRow("TEL1 flexphone, start at once") << int(Sheet::Tel1Flex);
  QTest::newRow("TEL2 flexphone, start at once") << int(Sheet::Tel2Flex);
  QTest::newRow("data port, no automatic answer, no result codes") << int(Sheet::Data);
}

void SheetsTest::applySendsTheSheetsCommands() {
  QFETCH(int, sheet);
  const Sheet kind = Sheet(sheet);
  SetupBench bench;
  QVERIFY(bench.open());
  CKB45mRXObj& record = bench.dialog->record();
  m2::SettingsData data = record.m_data;
  auto view = MakeSheet(kind, record, bench.dialog->link());

  // The ring count is left as it is when its drop-down makes it pointless, and 0 is sent.
  const int dropDown = kind == Sheet::Data ? 1401 : 1415;
  const int rings = kind == Sheet::Data ? 1308 : 1358;
  QVERIFY(FindControl<QLineEdit>(view.get(), rings)->isEnabled());
  FindControl<QComboBox>(view.get(), dropDown)->setCurrentIndex(0);
  QVERIFY(!FindControl<QLineEdit>(view.get(), rings)->isEnabled());
  const QString ringText = FindControl<QLineEdit>(view.get(), rings)->text();

  m2::CommandList expected;
  switch (kind) {
    case Sheet::Tel1Flex:
      data.m_tel1Flex.m_nTransferStart = 0;
      expected = m2::FlexSheetCommands(1, data.m_tel1Flex);
      break;
    case Sheet::Tel2Flex:
      data.m_tel2Flex.m_nTransferStart = 0;
      expected = m2::FlexSheetCommands(2, data.m_tel2Flex);
      break;
    default: {
      data.m_dataGen.m_nAutoAnswer = 0;
      // Result codes off: the code form drop-down goes, the code set stays.
      FindControl<QCheckBox>(view.get(), 1123)->click();
      QVERIFY(!FindControl<QComboBox>(view.get(), 1413)->isEnabled());
      QVERIFY(FindControl<QWidget>(view.get(), 1207)->isEnabled());
      data.m_dataAt.m_bResultCodes = 0;
      const auto parts = m2::DataSheetCommands(data.m_dataGen, data.m_dataFlow, data.m_dataAt);
      expected = parts.beforeModes;
      expected.insert(expected.end(), parts.afterModes.begin(), parts.afterModes.end());
    }
  }
  const std::size_t logged = bench.sim.commandLog().size();
  Apply(view.get())->click();
  QCOMPARE(After(bench.sim.commandLog(), logged), Logged(expected));
  QCOMPARE(FindControl<QLineEdit>(view.get(), rings)->text(), ringText);
  QCOMPARE(record.m_bTaChanged, 1);
  if (kind == Sheet::Data) {
    // No command carries the modes; the link gives them back when it leaves the TA.
    QCOMPARE(bench.dialog->link().resultCodesWereOn, 0);
    QCOMPARE(bench.dialog->link().verboseWasOn, data.m_dataAt.m_nResultFormat);
  }
}

void SheetsTest::pseudoCallWaitingDisablesThreeBoxes() {
  Offline offline;
  m2::PortCommonSettings& common = offline.record.m_data.m_common;
  common.m_bCallWaiting = 0;
  common.m_nCallWaitingType = 0;
  common.m_bTransferDuringCall = common.m_bThreePartyCall = common.m_bIncomingTransfer = 1;
  m2::setup::CPSheetAnalog sheet(offline.record, offline.link, nullptr);
  auto* type = FindControl<QComboBox>(&sheet, 1403);
  auto boxesEnabled = [&] {
    int enabled = 0;
    for (int id : {1104, 1128, 1121}) {
      auto* box = FindControl<QCheckBox>(&sheet, id);
      if (!box->isChecked()) return -1;  // a tick lost
      enabled += box->isEnabled() ? 1 : 0;
    }
    return enabled;
  };
  QVERIFY(!type->isEnabled());
  QCOMPARE(boxesEnabled(), 3);
  FindControl<QCheckBox>(&sheet, 1103)->click();  // call waiting, pseudo
  QVERIFY(type->isEnabled());
  QCOMPARE(boxesEnabled(), 0);
  type->setCurrentIndex(1);  // flex
  QCOMPARE(boxesEnabled(), 3);
  type->setCurrentIndex(0);
  QCOMPARE(boxesEnabled(), 0);
  FindControl<QCheckBox>(&sheet, 1103)->click();  // call waiting off
  QCOMPARE(boxesEnabled(), 3);
}

void SheetsTest::addressFieldsFilterTypingOnly() {
  Offline offline;
  m2::setup::CPSheetAnalog sheet(offline.record, offline.link, nullptr);
  sheet.show();
  QVERIFY(QTest::qWaitForWindowExposed(&sheet));
  // TEL1 and TEL2 share control ids: look on the page shown.
  auto* address = FindControl<QLineEdit>(sheet.currentPage(), 1329);
  Type(address, QString::fromUtf8("a1 ｱア*#-()b2+/"));
  QCOMPARE(address->text(), QString("1*#-()2"));
  QVERIFY(Apply(&sheet)->isEnabled());

  // Pasted text is not filtered.
  QApplication::clipboard()->setText(QString::fromUtf8("x 9"));
  QTest::keyClick(address, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(address->text(), QString::fromUtf8("1*#-()2x 9"));

  // Typing stops at the field's limit.
  auto* subAddress = FindControl<QLineEdit>(sheet.currentPage(), 1330);
  QTest::keyClicks(subAddress, QString(25, '7'));
  QCOMPARE(subAddress->text(), QString(19, '7'));
  address->clear();
  QTest::keyClicks(address, QString(40, '8'));
  QCOMPARE(address->text(), QString(32, '8'));
}

void SheetsTest::rangeMessagesPutTheFocusBack_data() {
  QTest::addColumn<int>("sheet");
  QTest::addColumn<int>("field");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("message");
  const QString digitTimer = "1 から 59 迄の整数を入力してください。";
  const QString hookDetect = "5 から 20 迄の整数を入力してください。";
  const QString hookAccept = "0 から 9 迄の整数を入力してください。";
  const QString transferRings = "1 から 9 迄の整数を入力してください。";
  const QString answerRings = "1 から 255 迄の整数を入力してください。";
  const auto analog = int(Sheet::Analog), flex = int(Sheet::Tel1Flex), data = int(Sheet::Data);
  QTest::newRow("digit timer 0") << analog << 1324 << "0" << digitTimer;
  QTest::newRow("digit timer 60") << analog << 1324 << "60" << digitTimer;
  QTest::newRow("hooking discrimination 4") << flex << 1327 << "4" << hookDetect;
  QTest::newRow("hooking discrimination 21") << flex << 1327 << "21" << hookDetect;
  QTest::newRow("hooking acceptance -") << flex << 1328 << "-"
                                        << "整数を入力してください。";
  QTest::newRow("hooking acceptance 10") << flex << 1328 << "10" << hookAccept;
  QTest::newRow("transfer rings 0") << flex << 1358 << "0" << transferRings;
  QTest::newRow("transfer rings 10") << flex << 1358 << "10" << transferRings;
  QTest::newRow("answer rings 0") << data << 1308 << "0" << answerRings;
  QTest::newRow("answer rings 256") << data << 1308 << "256" << answerRings;
}

void SheetsTest::rangeMessagesPutTheFocusBack() {
  QFETCH(int, sheet);
  QFETCH(int, field);
  QFETCH(QString, text);
  QFETCH(QString, message);
  Offline offline;
  m2::test::ModalAnswerer& answers = offline.answers;
  auto view = MakeSheet(Sheet(sheet), offline.record, offline.link);
  view->show();
  QVERIFY(QTest::qWaitForWindowActive(view.get()));
  auto* edit = FindControl<QLineEdit>(view->currentPage(), field);
  edit->setFocus(Qt::TabFocusReason);
  QTRY_VERIFY(edit->hasFocus());
  edit->setText(text);  // as pasted: "-" cannot be typed

  answers.expect("messageBox", 0);
  FindControl<QPushButton>(view.get(), PropertySheet::kCancelId)->setFocus(Qt::TabFocusReason);
  QTRY_COMPARE(answers.seen().size(), 1);
  QCOMPARE(answers.seen()[0].text, message);
  // The field is the one to get the focus when the sheet is active again.
  QTRY_COMPARE(view->focusWidget(), edit);
  QVERIFY(!Apply(view.get())->isEnabled());  // leaving a field marks nothing
  QCOMPARE(answers.pending(), 0);
}

void SheetsTest::aRefusedValueKeepsItsTabOnTop() {
  Offline offline;
  m2::test::ModalAnswerer& answers = offline.answers;
  m2::setup::CPSheetAnalog sheet(offline.record, offline.link, nullptr);
  sheet.show();
  QVERIFY(QTest::qWaitForWindowExposed(&sheet));
  auto* timer = FindControl<QLineEdit>(sheet.currentPage(), 1324);
  timer->setText("60");
  answers.expect("messageBox", 0);
  sheet.tabs()->setCurrentIndex(2);
  QCOMPARE(answers.seen().size(), 1);
  QCOMPARE(answers.seen()[0].text, QString("1 から 59 迄の整数を入力してください。"));
  QCOMPARE(sheet.tabs()->currentIndex(), 0);
  QCOMPARE(sheet.focusWidget(), timer);
  timer->setText("59");
  sheet.tabs()->setCurrentIndex(2);
  QCOMPARE(sheet.tabs()->currentIndex(), 2);
  QCOMPARE(answers.seen().size(), 1);
}

void SheetsTest::noRangeMessageOnDeactivationNorAfterCancel() {
  Offline offline;
  m2::test::ModalAnswerer answers;
  m2::setup::CPSheetAnalog sheet(offline.record, offline.link, nullptr);
  sheet.show();
  QVERIFY(QTest::qWaitForWindowActive(&sheet));
  auto* timer = FindControl<QLineEdit>(sheet.currentPage(), 1324);
  timer->setFocus(Qt::TabFocusReason);
  timer->setText("60");

  // Another program takes the activation, and gives it back.
  QWidget other;
  other.show();
  other.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&other));
  QCoreApplication::processEvents();
  QCOMPARE(answers.seenNames(), QStringList{});
  sheet.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&sheet));
  QTRY_VERIFY(timer->hasFocus());
  // "ｷｬﾝｾﾙ" clicked: the press takes the focus, the events between press and release are
  // handled, the release closes the sheet.
  auto* cancel = FindControl<QPushButton>(&sheet, PropertySheet::kCancelId);
  QTest::mousePress(cancel, Qt::LeftButton);
  QVERIFY(cancel->hasFocus());
  QCoreApplication::processEvents();
  QCOMPARE(answers.seenNames(), QStringList{});
  QTest::mouseRelease(cancel, Qt::LeftButton);
  QVERIFY(!sheet.isVisible());
  QCoreApplication::processEvents();
  QCOMPARE(answers.seenNames(), QStringList{});
}

void SheetsTest::aClosedDropDownIsTwelveUnitsHigh() {
  Offline offline;
  m2::setup::CPSheetAnalog sheet(offline.record, offline.link, nullptr);
  QWidget* tel1 = sheet.currentPage();
  // The HLC type's template rectangle is 65, 40, 48, 44: 44 with its list open.
  QCOMPARE(FindControl<QComboBox>(tel1, 1409)->geometry(),
           m2::ui::DialogUnits(tel1->font()).toPixels({65, 40, 48, 12}));
}

void SheetsTest::flexphoneOkSurvivesTheOuterCancel() {
  SetupBench bench;
  QVERIFY(bench.open());
  CKB45mRXObj& record = bench.dialog->record();
  const m2::SettingsData before = record.m_data;
  bench.answers.onShown("CPSheetAnalog", [&](QDialog* sheet) {
    QWidget* tel1 = sheet->findChild<QWidget*>("CPPageAnalogP1");
    FindControl<QCheckBox>(tel1, 1109)->click();  // a TEL1 change, to be cancelled
    FindControl<QPushButton>(tel1, m2::setup::CPPageAnalogP1::kFlexButton)->click();
  });
  bench.answers.onShown("CPSheetAnalogP1Flex",
                        [](QDialog* flex) { FindControl<QCheckBox>(flex, 1105)->click(); });
  bench.answers.expect("CPSheetAnalogP1Flex", PropertySheet::kOkId);
  bench.answers.expect("CPSheetAnalog", PropertySheet::kCancelId);
  bench.dialog->ShowSheet(m2::setup::SheetKind::Analog);

  QCOMPARE(bench.answers.seenNames(), (QStringList{"CPSheetAnalog", "CPSheetAnalogP1Flex"}));
  QCOMPARE(record.m_data.m_tel1Flex.m_bCwBusyIncoming, 1 - before.m_tel1Flex.m_bCwBusyIncoming);
  QVERIFY(record.m_data.m_tel1 == before.m_tel1);
  QCOMPARE(record.m_bModified, 1);
  QCOMPARE(record.m_bTaChanged, 0);
}

void SheetsTest::pcPortApplyReconnectsOkOnlyCopiesBack() {
  // The TA starts with result codes off: connecting switches them on, leaving it gives
  // them back. A second TA waits on COM2.
  SetupBench bench({"--quiet"});
  m2::test::SimProcess second;
  std::filesystem::create_symlink(second.linkPath(), bench.file("COM2"));
  QVERIFY(bench.open());
  CKB45mRXObj& record = bench.dialog->record();
  QCOMPARE(bench.sim.commandLog().back(), std::string("ATI3"));

  bench.answers.onShown("CPSheetCom", [](QDialog* sheet) {
    FindControl<QComboBox>(sheet, 1404)->setCurrentIndex(1);  // ＣＯＭ２
    Apply(sheet)->click();
  });
  bench.answers.expect("CPSheetCom", PropertySheet::kCancelId);
  bench.dialog->ShowSheet(m2::setup::SheetKind::PcPort);
  QCOMPARE(bench.sim.commandLog().back(), std::string("ATQ1"));  // restored on the old port
  const auto onSecond = second.commandLog();
  QVERIFY(!onSecond.empty());
  QCOMPARE(onSecond.front(), std::string("ATI0"));
  QCOMPARE(onSecond.back(), std::string("ATI3"));
  QCOMPARE(bench.dialog->link().connected, 1);
  QCOMPARE(record.m_data.m_pcPort.m_nComPort, 0);  // cancelled
  QCOMPARE(record.m_bModified, 0);

  // OK alone: the record takes the choice, the link stays where it is.
  bench.answers.onShown("CPSheetCom", [](QDialog* sheet) {
    FindControl<QComboBox>(sheet, 1404)->setCurrentIndex(2);  // ＣＯＭ３
  });
  bench.answers.expect("CPSheetCom", PropertySheet::kOkId);
  bench.dialog->ShowSheet(m2::setup::SheetKind::PcPort);
  QCOMPARE(record.m_data.m_pcPort.m_nComPort, 2);
  QCOMPARE(record.m_bModified, 1);
  QCOMPARE(second.commandLog(), onSecond);
  QCOMPARE(bench.dialog->link().connected, 1);
}

QTEST_MAIN(SheetsTest)
#include "sheets_test.moc"
