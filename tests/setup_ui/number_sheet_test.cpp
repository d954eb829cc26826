// The telephone-number sheet against m2sim: a page's buttons and end index as the user meets
// them, "更新" sending the pages' copies (a name-only entry in the clearing form), OK copying
// back only the edited lists, and the entry dialogs' limits in CP932 bytes.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

#include "settings/field_limits.h"
#include "setup_bench.h"
#include "setup_ui/dial_sheet.h"
#include "setup_ui/number_dialogs.h"
#include "setup_ui/number_pages.h"
#include "ui_common/template_layout.h"

using m2::NumberEntry;
using m2::SettingsGroup;
using m2::setup::NumberEntryDialog;
using m2::setup::NumberListView;
using m2::test::SetupBench;
using m2::ui::FindControl;

namespace {

struct Page {
  explicit Page(QWidget* page)
      : list(FindControl<QListWidget>(page, NumberListView::kListId)),
        add(FindControl<QPushButton>(page, NumberListView::kAddId)),
        del(FindControl<QPushButton>(page, NumberListView::kDeleteId)),
        change(FindControl<QPushButton>(page, NumberListView::kChangeId)) {}

  // The enabled buttons: "ADC" all three, "-" for each disabled one.
  QString buttons() const {
    return QString(add->isEnabled() ? "A" : "-") + (del->isEnabled() ? "D" : "-") +
           (change->isEnabled() ? "C" : "-");
  }
  void select(std::initializer_list<int> rows) const {
    list->clearSelection();
    for (int row : rows) list->item(row)->setSelected(true);
  }

  QListWidget* list;
  QPushButton* add;
  QPushButton* del;
  QPushButton* change;
};

// Typed one character at a time; keyClicks takes ASCII only.
void Type(QWidget* widget, const QString& text) {
  for (QChar c : text) QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), {});
}

// The next entry dialog gets these texts typed into it and is closed with OK.
void Fill(SetupBench& bench, const QString& name, int expectedIndex, const QString& entryName,
          const QString& address) {
  bench.answers.onShown(name, [=](QDialog* d) {
    QCOMPARE(FindControl<QLineEdit>(d, NumberEntryDialog::kIndexId)->text(),
             QString("[%1]  ").arg(expectedIndex));
    Type(FindControl<QLineEdit>(d, NumberEntryDialog::kNameId), entryName);
    Type(FindControl<QLineEdit>(d, NumberEntryDialog::kAddressId), address);
  });
  bench.answers.expect(name, m2::setup::kIdOk);
}

}  // namespace

class NumberSheetTest : public QObject {
  Q_OBJECT

 private slots:
  void editingAPageAndUpdate();
  void okCopiesBackOnlyTheEditedLists();
  void eachPageNamesItsNumbersInItsDialogs();
  void entryDialogLimitsInCp932Bytes_data();
  void entryDialogLimitsInCp932Bytes();
  void longerTextFromTheFileIsRefusedAtOk();
};

void NumberSheetTest::editingAPageAndUpdate() {
  SetupBench bench;
  QVERIFY(bench.open());
  m2::CKB45mRXObj& record = bench.dialog->record();
  m2::SettingsData& d = record.m_data;
  for (int i = 0; i < 3; ++i)
    d.m_discTel1.m_aEntry[i] = {1, "", "031111000" + std::to_string(i), ""};
  d.m_discTel1.m_nCount = 3;
  d.m_discData.m_aEntry[4] = {1, "", "0451112222", "7"};
  d.m_discData.m_nCount = 1;  // as the TA's listing counts
  d.m_discTel2.m_aEntry[9] = {1, "", std::string(32, '1'), std::string(19, '2')};
  const m2::SettingsData before = d;

  m2::setup::CPSheetDial sheet(record, bench.dialog->link(), bench.dialog.get());
  sheet.show();
  QVERIFY(QTest::qWaitForWindowActive(&sheet));
  QCOMPARE(sheet.windowTitle(), QString("電話番号の設定"));
  QCOMPARE(sheet.pageCount(), 4);
  const char* tabs[] = {"識別着信用(TEL1 ﾎﾟｰﾄ)", "識別着信用(TEL2 ﾎﾟｰﾄ)", "短縮ﾀﾞｲﾔﾙ用(DTE ﾎﾟｰﾄ)",
                        "識別着信用(DTE ﾎﾟｰﾄ)"};
  for (int i = 0; i < 4; ++i) QCOMPARE(sheet.tabs()->tabText(i), QString(tabs[i]));
  auto* tel1 = static_cast<m2::setup::CPPageDialDiscAng1*>(sheet.page(0));
  const Page p(tel1);
  QCOMPARE(p.list->count(), 10);
  QVERIFY(p.list->item(2)->text().startsWith("[2]  \t"));
  QVERIFY(p.list->item(2)->text().endsWith("\t0311110002"));
  QCOMPARE(p.buttons(), QString("A--"));
  QVERIFY(!sheet.applyButton()->isEnabled());
  // The list scrolls as far as its widest line.
  sheet.tabs()->setCurrentIndex(1);
  const Page tel2(sheet.page(1));
  const int extent =
      static_cast<m2::setup::CPPageDialDiscAng2*>(sheet.page(1))->view().model().extent();
  QTRY_COMPARE(tel2.list->horizontalScrollBar()->maximum() + tel2.list->viewport()->width(),
               extent + 2 * m2::setup::TabbedTextDelegate::kMargin);
  sheet.tabs()->setCurrentIndex(0);

  // Add without a selection fills the end index.
  Fill(bench, "NumberAddDialog", 3, "本社", "0322223333");
  p.add->click();
  QVERIFY(p.list->item(3)->text().startsWith("[3]  本社\t"));
  QVERIFY(p.list->item(3)->text().endsWith("\t0322223333"));
  QCOMPARE(tel1->view().model().endIndex(), 4);
  QVERIFY(sheet.applyButton()->isEnabled());
  QCOMPARE(record.Edited(SettingsGroup::DiscTel1), 1);

  // A used and a free line: nothing applies. A free line alone: double click adds there.
  p.select({3, 5});
  QCOMPARE(p.buttons(), QString("---"));
  p.select({5});
  QCOMPARE(p.buttons(), QString("A--"));
  Fill(bench, "NumberAddDialog", 5, "名前だけ", "");
  emit p.list->itemDoubleClicked(p.list->item(5));
  QCOMPARE(tel1->view().model().endIndex(), 6);
  p.select({8});
  Fill(bench, "NumberAddDialog", 8, "", "0344445555");
  p.add->click();
  QCOMPARE(tel1->view().model().endIndex(), 9);

  // Deleting the highest entry: the end index drops to one past the next used one.
  p.select({8});
  QCOMPARE(p.buttons(), QString("-DC"));
  bench.answers.expect("NumberDeleteConfirmDialog", m2::setup::kIdOk);
  p.del->click();
  QCOMPARE(p.list->item(8)->text(), QString("[8]  "));
  QCOMPARE(tel1->view().model().endIndex(), 6);
  QCOMPARE(p.buttons(), QString("A--"));

  // The list taking the focus with nothing selected: the focus moves on to "追加(&A)".
  p.select({});
  sheet.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&sheet));
  p.list->setFocus();
  QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(p.add));
  QCOMPARE(p.buttons(), QString("A--"));
  // A double click on a used line (its second click focuses the list again) and OK in
  // "変更" without an edit: the buttons still follow the highlighted line.
  bench.answers.expect("NumberChangeDialog", m2::setup::kIdOk);
  const QPoint line0 = p.list->visualItemRect(p.list->item(0)).center();
  QTest::mouseClick(p.list->viewport(), Qt::LeftButton, {}, line0);
  QTest::mousePress(p.list->viewport(), Qt::LeftButton, {}, line0);
  QTest::mouseDClick(p.list->viewport(), Qt::LeftButton, {}, line0);
  QTest::mouseRelease(p.list->viewport(), Qt::LeftButton, {}, line0);
  QCOMPARE(bench.answers.seenNames().last(), QString("NumberChangeDialog"));
  QVERIFY(p.list->item(0)->isSelected());
  QCOMPARE(p.buttons(), QString("-DC"));

  // Change closed with OK but nothing edited changes nothing, not even the edited flag.
  sheet.tabs()->setCurrentIndex(3);
  const Page data(sheet.page(3));
  data.select({4});
  bench.answers.expect("NumberChangeDialog", m2::setup::kIdOk);
  data.change->click();
  QCOMPARE(bench.answers.seenNames().last(), QString("NumberChangeDialog"));
  QCOMPARE(record.Edited(SettingsGroup::DiscData), 0);
  QVERIFY(static_cast<m2::setup::CPPageDialDiscData*>(sheet.page(3))->values() ==
          before.m_discData);

  // "更新" sends the pages' copies: forty entries, the name-only one in the clearing form.
  const std::size_t mark = bench.sim.commandLog().size();
  sheet.applyButton()->click();
  const std::vector<std::string> log = bench.sim.commandLog();
  const std::vector<std::string> sent(log.begin() + static_cast<std::ptrdiff_t>(mark), log.end());
  QCOMPARE(sent.size(), std::size_t{40});
  QCOMPARE(sent[0], std::string("AT$X0=0311110000"));
  QCOMPARE(sent[3], std::string("AT$X3=0322223333"));
  QCOMPARE(sent[5], std::string("AT$X5="));
  QCOMPARE(sent[8], std::string("AT$X8="));
  QCOMPARE(sent[34], std::string("AT$W4=0451112222/7"));
  QCOMPARE(record.m_bTaChanged, 1);
  QVERIFY(!sheet.applyButton()->isEnabled());

  // Cancel: the TA keeps what was sent, the record stays as it was.
  sheet.reject();
  QVERIFY(d == before);
  QCOMPARE(record.m_bModified, 0);
}

void NumberSheetTest::okCopiesBackOnlyTheEditedLists() {
  SetupBench bench;
  QVERIFY(bench.open());
  m2::CKB45mRXObj& record = bench.dialog->record();
  const m2::SettingsData before = record.m_data;
  const std::size_t commands = bench.sim.commandLog().size();

  // OK without an edit copies nothing back.
  bench.answers.expect("CPSheetDial", m2::setup::PropertySheet::kOkId);
  bench.dialog->ShowSheet(m2::setup::SheetKind::Numbers);
  QCOMPARE(record.m_bModified, 0);

  bench.answers.onShown("CPSheetDial", [](QDialog* d) {
    auto* sheet = static_cast<m2::setup::CPSheetDial*>(d);
    sheet->tabs()->setCurrentIndex(2);
    Page(sheet->page(2)).add->click();
  });
  Fill(bench, "NumberAddDialog", 0, "ｵﾌｨｽ", "0120");
  bench.answers.expect("CPSheetDial", m2::setup::PropertySheet::kOkId);
  bench.dialog->ShowSheet(m2::setup::SheetKind::Numbers);
  QCOMPARE(bench.answers.pending(), 0);
  QCOMPARE(record.m_bModified, 1);
  m2::SettingsData expected = before;
  expected.m_shortDialData.m_aEntry[0] = {1, "\xB5\xCC\xA8\xBD", "0120", ""};
  expected.m_shortDialData.m_nCount = 1;
  QVERIFY(record.m_data == expected);
  QCOMPARE(bench.sim.commandLog().size(), commands);  // OK sends nothing
}

void NumberSheetTest::eachPageNamesItsNumbersInItsDialogs() {
  m2::CKB45mRXObj record;
  record.LoadDefaults();
  m2::SettingsData& d = record.m_data;
  for (m2::NumberList* list : {&d.m_discTel1, &d.m_discTel2, &d.m_shortDialData, &d.m_discData}) {
    list->m_aEntry[0] = {1, "", "0311", ""};
    list->m_nCount = 1;
  }
  m2::test::ModalAnswerer answers;
  m2::setup::CPPageDialDiscAng1 tel1(record, nullptr);
  m2::setup::CPPageDialDiscAng2 tel2(record, nullptr);
  m2::setup::CPPageDialShortData shortDial(record, nullptr);
  m2::setup::CPPageDialDiscData dte(record, nullptr);
  QStringList labels;
  for (QWidget* page : std::initializer_list<QWidget*>{&tel1, &tel2, &shortDial, &dte}) {
    const Page p(page);
    answers.expect("NumberChangeDialog", 2);  // cancel
    p.select({0});
    p.change->click();
    answers.expect("NumberAddDialog", 2);
    p.select({1});
    p.add->click();
  }
  QCOMPARE(answers.pending(), 0);
  for (const auto& seen : answers.seen()) labels << seen.name + " " + seen.text.section('\n', 0, 0);
  const QString change = "NumberChangeDialog ", add = "NumberAddDialog ";
  QCOMPARE(labels, (QStringList{change + "識別番号", add + "識別番号", change + "識別番号",
                                add + "識別番号", change + "短縮番号", add + "短縮番号",
                                change + "識別番号", add + "識別番号"}));
}

void NumberSheetTest::entryDialogLimitsInCp932Bytes_data() {
  QTest::addColumn<int>("field");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("kept");
  const QString a10 = QString("あ").repeated(10);
  QTest::newRow("name, double-byte") << int(NumberEntryDialog::kNameId) << a10 + "あ" << a10;
  QTest::newRow("name, odd byte left")
      << int(NumberEntryDialog::kNameId) << "x" + a10 << "x" + QString("あ").repeated(9);
  QTest::newRow("name, half-width katakana")
      << int(NumberEntryDialog::kNameId) << QString("ｱ").repeated(21) << QString("ｱ").repeated(20);
  QTest::newRow("address") << int(NumberEntryDialog::kAddressId) << QString("1").repeated(33)
                           << QString("1").repeated(32);
  QTest::newRow("sub-address") << int(NumberEntryDialog::kSubAddressId) << QString("2").repeated(20)
                               << QString("2").repeated(19);
}

void NumberSheetTest::entryDialogLimitsInCp932Bytes() {
  QFETCH(int, field);
  QFETCH(QString, typed);
  QFETCH(QString, kept);
  m2::test::ModalAnswerer answers;  // an unexpected dialog fails the test at once
  m2::setup::NumberAddDialog add("識別番号", 0, nullptr);
  add.show();
  auto* edit = FindControl<QLineEdit>(&add, field);
  Type(edit, typed);
  QCOMPARE(edit->text(), kept);
  QVERIFY(add.changedByUser());
}

void NumberSheetTest::longerTextFromTheFileIsRefusedAtOk() {
  // Shown whole, as the settings file had it, and refused with the dialog left open.
  m2::test::ModalAnswerer answers;
  answers.expect("messageBox", 0);
  m2::setup::NumberChangeDialog change("短縮番号", 9, {std::string(21, 'n'), "1", ""}, nullptr);
  change.show();
  QVERIFY(!change.changedByUser());
  change.accept();
  QCOMPARE(answers.seen().size(), 1);
  QCOMPARE(answers.seen()[0].text, QString::fromStdString(m2::LengthMessage(m2::Field::Name)));
  QVERIFY(change.isVisible());
  QCOMPARE(change.result(), 0);
}

QTEST_MAIN(NumberSheetTest)
#include "number_sheet_test.moc"
