#pragma once
// Answers the program's modal dialogs in GUI tests, so that no dialog can block a test.
// Each dialog that appears is recorded; the next expected answer (the dialog's object name
// and the control id of the button to press) is given to it once it is on the screen. A
// dialog nobody expected (no answer, no action, not left open) fails the running test at
// once with its title and is closed with Escape, so that no test waits on it.
#include <QDialog>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

namespace m2::test {

class ModalAnswerer final : public QObject {
 public:
  struct Seen {
    QString name;   // the dialog's object name: its class name, or "messageBox"
    QString title;
    QString text;   // a message box's text, or every label of the dialog joined by "\n"
  };

  ModalAnswerer();
  ~ModalAnswerer() override;

  // The next dialog named `name` gets button `buttonId` pressed (QMessageBox: pass 0 for OK).
  void expect(const QString& name, int buttonId);
  // Runs once the next dialog named `name` is on the screen, before it is answered. A
  // dialog the action has closed is not answered again.
  void onShown(const QString& name, std::function<void(QDialog*)> action);
  // Dialogs named `name` are recorded and left to the test.
  void leaveOpen(const QString& name) { m_leftOpen << name; }

  // Where an unexpected dialog is reported; by default it fails the running test.
  void setUnexpectedReport(std::function<void(const QString& what)> report) {
    m_report = std::move(report);
  }

  const QList<Seen>& seen() const { return m_seen; }
  QStringList seenNames() const;
  int pending() const { return static_cast<int>(m_expected.size()); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Expected {
    QString name;
    int buttonId;
  };
  void answer(QDialog* dialog);

  QList<Expected> m_expected;
  QList<QPair<QString, std::function<void(QDialog*)>>> m_actions;
  QList<Seen> m_seen;
  QStringList m_leftOpen;
  std::function<void(const QString& what)> m_report;
};

}  // namespace m2::test
