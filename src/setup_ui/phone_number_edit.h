#pragma once
// Edit controls that filter what is typed into them: PhoneNumberEdit for every telephone
// number and sub-address field (digits, "*", "#", "-", "(", ")"), NumberEdit for the
// numeric fields (digits, right-aligned). Control characters pass; every other typed
// character, the space and all non-ASCII input (input methods included) is dropped
// silently. Text set by the program or pasted is not filtered.
#include <QLineEdit>

#include "settings/typed_chars.h"

namespace m2::setup {

class TypedCharEdit : public QLineEdit {
 public:
  explicit TypedCharEdit(TypedCharRule rule, QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  QString accepted(const QString& typed) const;
  TypedCharRule m_rule;
};

class PhoneNumberEdit final : public TypedCharEdit {
 public:
  explicit PhoneNumberEdit(QWidget* parent = nullptr)
      : TypedCharEdit(TypedCharRule::PhoneNumber, parent) {}
};

class NumberEdit final : public TypedCharEdit {
 public:
  explicit NumberEdit(QWidget* parent = nullptr);
};

}  // namespace m2::setup
