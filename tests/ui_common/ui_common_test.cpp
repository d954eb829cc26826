// The shared GUI pieces on their own: the input blocker's close box, the burst waiter's
// early return, the F1 topic of a window, and the test answerer's unexpected dialogs.
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSpontaneKeyEvent>
#include <QTabWidget>
#include <QTest>
#include <cstdint>

#include "support/scratch_dir.h"
#include "ui_common/gui_burst_waiter.h"
#include "ui_common/help_opener.h"
#include "ui_common/input_blocker.h"
#include "ui_common/menu_table.h"
#include "ui_support/modal_answerer.h"

class UiCommonTest : public QObject {
  Q_OBJECT

 private slots:
  void inputBlockerRefusesOnlyTheCloseBox();
  void waiterReturnsAtOnceForABurstAlreadyWaiting();
  void helpTopicIsThePageThenTheWindowTheGuideHas();
  void unexpectedDialogIsReportedAtOnceWithItsTitle();
  void escapeClosesTheWindowAfterMenusOpenedWithAlt();
};

void UiCommonTest::inputBlockerRefusesOnlyTheCloseBox() {
  QWidget window;
  window.show();
  m2::ui::InputBlocker blocker;
  QCloseEvent closeBox;
  QSpontaneKeyEvent::setSpontaneous(&closeBox);
  qApp->notify(&window, &closeBox);  // as the window system delivers it (sendEvent would not)
  QVERIFY(!closeBox.isAccepted());
  QCloseEvent programClose;  // the program's own close goes through
  QApplication::sendEvent(&window, &programClose);
  QVERIFY(programClose.isAccepted());
}

void UiCommonTest::waiterReturnsAtOnceForABurstAlreadyWaiting() {
  m2::RxMailbox mailbox;
  const std::uint8_t ok[] = {'O', 'K', '\r'};
  mailbox.handOver(ok, 3);
  m2::ui::GuiBurstWaiter waiter;
  QElapsedTimer elapsed;
  elapsed.start();
  waiter.waitForBurst(mailbox, m2::RxMailbox::Clock::now() + std::chrono::seconds(3));
  QVERIFY2(elapsed.elapsed() < 1000, qPrintable(QString::number(elapsed.elapsed())));
}

void UiCommonTest::helpTopicIsThePageThenTheWindowTheGuideHas() {
  m2::test::ScratchDir dir;
  QFile guide(QString::fromStdString(dir.file("Guide.html")));
  QVERIFY(guide.open(QIODevice::WriteOnly));
  guide.write(R"(<h2 id="Sheet">x</h2><h3 id="SecondPage">y</h3><h2 id="Main">z</h2>)");
  guide.close();
  m2::ui::SetGuideFolder(QString::fromStdString(dir.path().string()));

  QWidget main;
  main.setObjectName("Main");
  QDialog sheet(&main);
  sheet.setObjectName("Sheet");
  auto* tabs = new QTabWidget(&sheet);
  for (const char* name : {"FirstPage", "SecondPage"}) {
    auto* page = new QWidget;
    page->setObjectName(name);
    tabs->addTab(page, name);
  }
  QMessageBox box(&sheet);
  box.setObjectName("messageBox");
  const QString guideName = "Guide.html";
  QCOMPARE(m2::ui::HelpSectionFor(tabs, guideName), QString("Sheet"));  // no section of its own
  tabs->setCurrentIndex(1);
  QCOMPARE(m2::ui::HelpSectionFor(tabs, guideName), QString("SecondPage"));
  QCOMPARE(m2::ui::HelpSectionFor(&box, guideName), QString("SecondPage"));  // its parent's
  QCOMPARE(m2::ui::HelpSectionFor(&main, guideName), QString("Main"));
  m2::ui::SetGuideFolder({});
}

void UiCommonTest::unexpectedDialogIsReportedAtOnceWithItsTitle() {
  m2::test::ModalAnswerer answers;
  QStringList reports;
  answers.setUnexpectedReport([&](const QString& what) { reports << what; });
  QMessageBox box(QMessageBox::Information, "予期しない確認", "?");
  box.setObjectName("messageBox");
  QElapsedTimer elapsed;
  elapsed.start();
  box.exec();
  QVERIFY(elapsed.elapsed() < 2000);
  QCOMPARE(reports.size(), 1);
  QVERIFY2(reports[0].contains("予期しない確認"), qPrintable(reports[0]));
}

void UiCommonTest::escapeClosesTheWindowAfterMenusOpenedWithAlt() {
  // Opening a second menu with Alt while the bar is still highlighted left the keyboard
  // focus in the bar, which then swallowed every Escape meant for the window.
  QDialog window;
  constexpr std::string_view titles[] = {"表示(&V)", "ﾍﾙﾌﾟ(&H)"};
  constexpr m2::ui::MenuItem items[] = {{0, "料金(&M)", 101}, {1, "ﾊﾞｰｼﾞｮﾝ(&A)", 102}};
  m2::ui::BuildMenuBar(new QMenuBar(&window), titles, items, [](int) {});
  (new QPushButton("OK", &window))->setFocus();
  window.show();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::activePopupWidget();
    QTest::keyClick(target ? target : QApplication::focusWidget(), key, modifiers);
  };
  press(Qt::Key_V, Qt::AltModifier);
  press(Qt::Key_Escape);
  press(Qt::Key_H, Qt::AltModifier);
  QVERIFY(QApplication::activePopupWidget());
  press(Qt::Key_Escape);  // closes the menu
  press(Qt::Key_Escape);  // leaves the bar
  press(Qt::Key_Escape);  // the window's
  QVERIFY(!window.isVisible());
  QCOMPARE(window.result(), int(QDialog::Rejected));
}

QTEST_MAIN(UiCommonTest)
#include "ui_common_test.moc"
