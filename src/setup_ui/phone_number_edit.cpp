#include "setup_ui/phone_number_edit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace m2::setup {

TypedCharEdit::TypedCharEdit(TypedCharRule rule, QWidget* parent)
    : QLineEdit(parent), m_rule(rule) {}

QString TypedCharEdit::accepted(const QString& typed) const {
  QString kept;
  for (const char32_t c : typed.toUcs4())
    if (TypedCharAccepted(m_rule, c)) kept += QString::fromUcs4(&c, 1);
  return kept;
}

void TypedCharEdit::keyPressEvent(QKeyEvent* event) {
  const QString typed = event->text();
  // Keys without text (arrows), shortcuts (Ctrl+V: paste is not filtered; QLineEdit never
  // inserts the text of a Ctrl key) and control characters go on as they are.
  const bool shortcut = (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) &&
                        !(event->modifiers() & Qt::AltModifier);
  if (typed.isEmpty() || shortcut || accepted(typed) == typed) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  const QString kept = accepted(typed);
  if (!kept.isEmpty()) insert(kept);
  event->accept();
}

void TypedCharEdit::inputMethodEvent(QInputMethodEvent* event) {
  const QString committed = event->commitString();
  if (accepted(committed) == committed) {
    QLineEdit::inputMethodEvent(event);
    return;
  }
  QInputMethodEvent filtered(event->preeditString(), event->attributes());
  filtered.setCommitString(accepted(committed), event->replacementStart(),
                           event->replacementLength());
  QLineEdit::inputMethodEvent(&filtered);
  event->accept();
}

NumberEdit::NumberEdit(QWidget* parent) : TypedCharEdit(TypedCharRule::Digits, parent) {
  setAlignment(Qt::AlignRight);
}

}  // namespace m2::setup
