#include "ui_support/modal_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "ui_common/template_layout.h"

namespace m2::test {

ModalAnswerer::ModalAnswerer() { qApp->installEventFilter(this); }

ModalAnswerer::~ModalAnswerer() { qApp->removeEventFilter(this); }

void ModalAnswerer::expect(const QString& name, int buttonId) { m_expected.append({name, buttonId}); }

void ModalAnswerer::onShown(const QString& name, std::function<void(QDialog*)> action) {
  m_actions.append({name, std::move(action)});
}

QStringList ModalAnswerer::seenNames() const {
  QStringList names;
  for (const Seen& s : m_seen) names << s.name;
  return names;
}

bool ModalAnswerer::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Show) return false;
  auto* dialog = qobject_cast<QDialog*>(watched);
  if (!dialog || !dialog->isWindow() || !dialog->isModal()) return false;
  Seen seen{dialog->objectName(), dialog->windowTitle(), {}};
  if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
    seen.text = box->text();
  } else {
    QStringList lines;
    for (const QLabel* label : dialog->findChildren<QLabel*>())
      if (!label->text().isEmpty()) lines << label->text();
    seen.text = lines.join('\n');
  }
  m_seen.append(seen);
  if (m_leftOpen.contains(seen.name)) return false;
  // Answer from the dialog's own event loop, once it runs.
  QTimer::singleShot(0, this, [this, guard = QPointer<QDialog>(dialog)] {
    if (guard) answer(guard);
  });
  return false;
}

void ModalAnswerer::answer(QDialog* dialog) {
  const QString name = dialog->objectName();
  bool acted = false;
  for (int i = 0; i < m_actions.size(); ++i) {
    if (m_actions[i].first != name) continue;
    auto action = m_actions.takeAt(i).second;
    action(dialog);
    if (!dialog->isVisible()) return;
    acted = true;
    break;
  }
  if (!m_expected.isEmpty() && m_expected.first().name == name) {
    const int id = m_expected.takeFirst().buttonId;
    if (auto* box = qobject_cast<QMessageBox*>(dialog); box && id == 0) {
      box->button(QMessageBox::Ok)->click();
      return;
    }
    if (auto* button = ui::FindControl<QAbstractButton>(dialog, id)) {
      button->click();
      return;
    }
  }
  // Nobody expected it: the test fails now, naming it, instead of waiting on it.
  if (acted) {
    dialog->reject();
    return;
  }
  const QString what =
      QStringLiteral("unexpected dialog \"%1\" (%2)").arg(dialog->windowTitle(), name);
  if (m_report)
    m_report(what);
  else
    QTest::qFail(qPrintable(what), __FILE__, __LINE__);
  dialog->reject();
}

}  // namespace m2::test
