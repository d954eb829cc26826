#pragma once
// PropertyPage: one tab of a property sheet. A page holds a copy of one settings group
// (GroupPage<G> takes it from the record when the page is built, which clears the group's
// edited flag) and one control per member, placed at its template position in dialog
// units. A page never talks to the TA and touches the record only through its flag and,
// after OK, the copy-back.
//
// Change tracking follows the page's ChangeRules. A click, a text edit or a selection
// change by the user on a control whose id lies in the matching range:
//   1. takes all values from the controls into the copy, with validation, unless the
//      control is one of the numeric fields;
//   2. marks the page changed, which enables the sheet's "更新";
//   3. sets the group's edited flag in the record.
// A failed validation does not stop 2 and 3. A numeric field takes all values when it
// loses the focus, and marks nothing. A value that fails validation is shown in a message
// box and the focus goes back to its field.
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "settings/copy_back.h"
#include "settings/field_limits.h"
#include "settings/settings_record.h"
#include "ui_common/template_layout.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace m2::setup {

class NumberEdit;
class PhoneNumberEdit;

// Control ids first to last, both included; an empty range by default.
struct IdRange {
  int first = 0;
  int last = -1;
  constexpr bool contains(int id) const { return id >= first && id <= last; }
};

struct ChangeRules {
  IdRange clicks;                // check boxes, radio buttons
  IdRange texts;                 // edits
  IdRange selections;            // drop-down lists
  std::array<int, 3> numeric{};  // numeric fields (0: none)
  constexpr bool isNumeric(int id) const {
    for (int n : numeric)
      if (n != 0 && n == id) return true;
    return false;
  }
};

// A page's template: its class name (also its object name), tab text, size in dialog
// units and change rules.
struct PageForm {
  const char* className;
  const char* tab;
  int width;
  int height;
  ChangeRules rules;
};

class PropertyPage : public QWidget {
  Q_OBJECT

 public:
  struct Failure {
    QWidget* field;
    QString message;
  };

  QString tabTitle() const;
  SettingsGroup group() const { return m_group; }

  // Takes every value from the controls into the copy, in control order, and stops at the
  // first that fails; nothing shown.
  std::optional<Failure> takeValues();
  // takeValues, showing a failure. false when a value failed.
  bool takeValuesOrReport();
  // The message, then the focus back on the field with its text selected.
  void report(const Failure& failure);

  // After OK: the page's group back into the record if the user edited it.
  virtual void copyBackIfEdited() = 0;
  // The page's enabling rules; run when the page opens and after the changes they follow.
  virtual void applyEnablingRules() {}

  // Whether the page has reported a change since the last "更新".
  bool isChanged() const { return m_changed; }
  void clearChanged() { m_changed = false; }

 signals:
  void changed();

 protected:
  PropertyPage(const PageForm& form, CKB45mRXObj& record, SettingsGroup group, QWidget* parent);

  CKB45mRXObj& record() const { return m_record; }
  ui::TemplateLayout& layout() { return m_layout; }

  // Steps 2 and 3 of a change; pages without bound controls call it for their own edits.
  void markChanged();

  // Controls bound to members of the copy: each shows its member now and takes it back
  // when the page takes its values. Texts are UTF-8.
  QLabel* addLabel(const char* text, ui::DluRect r);
  QCheckBox* addCheck(const char* text, ui::DluRect r, int id, int& member);
  QComboBox* addDropDown(ui::DluRect r, int id, std::initializer_list<const char*> items,
                         int& member);
  NumberEdit* addNumber(ui::DluRect r, int id, Field field, int& member);
  // CP932 text; the edit limits typing to the field's bytes.
  PhoneNumberEdit* addPhoneNumber(ui::DluRect r, int id, Field field, std::string& member);
  struct RadioSpec {
    const char* text;
    ui::DluRect rect;
  };
  // One group of radio buttons with ids firstId, firstId + 1, ...; member = the index of
  // the checked one.
  void addRadioGroup(std::initializer_list<RadioSpec> buttons, int firstId, int& member);
  void addGroupBox(const char* text, ui::DluRect r);

  // A taker of its own (a control the helpers above do not cover).
  void addTaker(std::function<std::optional<Failure>()> taker);
  // Connects the change tracking of a control by its id (done by the helpers above).
  void trackClicks(QAbstractButton* button, int id);
  void trackText(QLineEdit* edit, int id);
  void trackSelection(QComboBox* combo, int id);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class Notice { Click, Text, Selection };
  void notify(Notice notice, int id);

  CKB45mRXObj& m_record;
  SettingsGroup m_group;
  ChangeRules m_rules;
  QString m_tab;
  ui::TemplateLayout m_layout;
  std::vector<std::function<std::optional<Failure>()>> m_takers;
  bool m_changed = false;
  bool m_reporting = false;
};

// A page with its copy of group G.
template <SettingsGroup G>
class GroupPage : public PropertyPage {
 public:
  const GroupType<G>& values() const { return m_values; }
  void copyBackIfEdited() override { CopyBackIfEdited<G>(record(), m_values); }

 protected:
  GroupPage(const PageForm& form, CKB45mRXObj& record, QWidget* parent)
      : PropertyPage(form, record, G, parent) {
    record.template CopyToPage<G>(m_values);
  }

  GroupType<G> m_values;
};

}  // namespace m2::setup
