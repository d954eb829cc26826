#pragma once
// The dialogs of a telephone-number page: NumberAddDialog and NumberChangeDialog edit one
// entry (the index shown read-only, name, address and sub-address), and
// NumberDeleteConfirmDialog asks before the selected entries are emptied.
//
// The entry dialogs take and give CP932 values, as the record holds them. Fields are
// limited in CP932 bytes (a double-byte character counts two); OK refuses a text that is
// too long or cannot be stored and keeps the dialog open. changedByUser() tells whether
// the user edited a field while the dialog was open; filling it does not count.
#include <QDialog>

#include "settings/number_list_model.h"
#include "setup_ui/confirm_dialogs.h"

class QLineEdit;

namespace m2::setup {

class NumberEntryDialog : public QDialog {
 public:
  static constexpr int kIndexId = 1340;
  static constexpr int kNameId = 1341;
  static constexpr int kAddressId = 1342;
  static constexpr int kSubAddressId = 1343;

  bool changedByUser() const { return m_changed; }
  // The accepted values; the entry's own values until OK succeeded.
  const EntryValues& values() const { return m_values; }

  // OK: takes the three fields, or shows why one cannot be taken and stays open.
  void accept() override;

 protected:
  // label: the page's "識別番号" or "短縮番号".
  NumberEntryDialog(const char* className, const char* title, const char* label, int index,
                    const EntryValues& values, QWidget* parent);

 private:
  QLineEdit* m_name;
  QLineEdit* m_address;
  QLineEdit* m_subAddress;
  EntryValues m_values;
  bool m_changed = false;
};

class NumberAddDialog final : public NumberEntryDialog {
 public:
  NumberAddDialog(const char* label, int index, QWidget* parent);
};

class NumberChangeDialog final : public NumberEntryDialog {
 public:
  NumberChangeDialog(const char* label, int index, const EntryValues& values, QWidget* parent);
};

// "はい(&Y)" ends it with kIdOk.
class NumberDeleteConfirmDialog final : public QuestionDialog {
 public:
  explicit NumberDeleteConfirmDialog(QWidget* parent);
};

}  // namespace m2::setup
