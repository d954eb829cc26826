// m2drive: loaded into an installed program through Qt's generic plugins
// (QT_QPA_GENERIC_PLUGINS=m2drive), it works the program's windows from a script, so that a
// test can drive the real binary on the offscreen platform from outside.
//
// M2_DRIVE holds steps separated by ';', each "Window>Action". A step runs once the modal
// window of that object name is on top and no exchange with the TA holds the wait cursor:
// "#id" clicks the button with that control id ("#0": a message box's own button; "#id=Text"
// once the button reads Text); an empty
// action only notes the window (passed over when the next step's window is already up);
// anything else is a key sequence for the window's focus widget ("Return", "Esc", "F1").
// M2_DRIVE_LOG gets a line for each step taken, "open <url>" for every URL the program asks
// the desktop to open and "done" after the last step. A modal window the script does not name is
// logged as "unexpected <name> <title>" and ends the program with status 3.
#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QGenericPlugin>
#include <QKeySequence>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <cstdlib>

namespace {

class Driver final : public QObject {
  Q_OBJECT

 public:
  Driver() {
    for (const QString& step : qEnvironmentVariable("M2_DRIVE").split(';', Qt::SkipEmptyParts)) {
      const int split = step.indexOf('>');
      m_steps.append({step.left(split), split < 0 ? QString() : step.mid(split + 1)});
      m_known << m_steps.last().window;
    }
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
    connect(&m_timer, &QTimer::timeout, this, &Driver::poll);
    m_timer.start(20);
  }

 public slots:
  void openUrl(const QUrl& url) { log("open " + url.toString()); }

 private:
  struct Step {
    QString window;
    QString action;
  };

  static void log(const QString& line) {
    QFile file(qEnvironmentVariable("M2_DRIVE_LOG"));
    if (file.open(QIODevice::Append)) file.write(line.toUtf8() + '\n');
  }

  void poll() {
    QWidget* top = QApplication::activeModalWidget();
    if (!top) return;
    if (!m_known.contains(top->objectName())) {
      log("unexpected " + top->objectName() + " " + top->windowTitle());
      std::_Exit(3);
    }
    // The window must have been on top for a whole tick, outside any exchange with the TA.
    const bool settled = top == m_lastTop && !QApplication::overrideCursor();
    m_lastTop = top;
    // A window only noted may have come and gone between two ticks.
    if (m_steps.size() > 1 && m_steps[0].action.isEmpty() && m_steps[1].window == top->objectName())
      m_steps.removeFirst();
    if (!settled || m_steps.isEmpty() || top->objectName() != m_steps.first().window) return;
    if (!ButtonReady(top, m_steps.first().action)) return;
    const QString action = m_steps.takeFirst().action;
    log("step " + top->objectName() + ">" + action);
    m_lastTop = nullptr;
    if (m_steps.isEmpty()) log(QStringLiteral("done"));
    // Run from the event queue: an action that opens a modal window must not hold up this
    // timer, which Qt does not fire again while its own handler runs.
    QMetaObject::invokeMethod(
        this,
        [window = QPointer<QWidget>(top), action] {
          if (window) act(window, action);
        },
        Qt::QueuedConnection);
  }

  // "#id=Text" waits until the button reads Text.
  static bool ButtonReady(QWidget* window, const QString& action) {
    const int equals = action.indexOf('=');
    if (!action.startsWith('#') || equals < 0) return true;
    const auto* button =
        window->findChild<QAbstractButton*>(ControlName(action.mid(1, equals - 1).toInt()));
    return button && button->text() == action.mid(equals + 1);
  }

  static QString ControlName(int id) { return QStringLiteral("ctl%1").arg(id); }

  static void act(QWidget* window, const QString& action) {
    if (action.startsWith('#')) {
      click(window, action.mid(1).section('=', 0, 0).toInt());
    } else if (!action.isEmpty()) {
      const QKeyCombination key = QKeySequence::fromString(action)[0];
      if (key.key() == Qt::Key_unknown || key.toCombined() == 0) {
        log("no key " + action);
        std::_Exit(3);
      }
      QWidget* focus = QApplication::focusWidget();
      QTest::keyClick(focus && window->isAncestorOf(focus) ? focus : window, key.key(),
                      key.keyboardModifiers());
    }
  }

  static void click(QWidget* window, int id) {
    if (auto* box = qobject_cast<QMessageBox*>(window); box && id == 0) {
      box->buttons().first()->click();
    } else if (auto* button = window->findChild<QAbstractButton*>(ControlName(id))) {
      button->click();
    } else {
      log(QStringLiteral("no button %1 in %2").arg(id).arg(window->objectName()));
      std::_Exit(3);
    }
  }

  QList<Step> m_steps;
  QStringList m_known;
  QPointer<QWidget> m_lastTop;
  QTimer m_timer;
};

class DrivePlugin final : public QGenericPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "m2drive.json")

 public:
  QObject* create(const QString&, const QString&) override { return new Driver; }
};

}  // namespace

#include "drive_plugin.moc"
