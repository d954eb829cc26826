#pragma once
// The controls of a telephone-number page and what they do, shared by the four pages: the
// label, the list of ten lines (extended selection, tab-aligned columns, as wide as its
// widest line) and the buttons "追加(&A)", "削除(&D)" and "変更(&M)". Decisions are the
// NumberListModel's; this class asks the user and shows the result.
//
// The buttons always follow the selection the list shows: after a selection change, an
// edit (replacing a line drops its selection), and when the list takes the focus, which
// moves the focus on as a selection change does ("追加(&A)" when nothing is selected).
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

#include "settings/number_list_model.h"
#include "setup_ui/tabbed_list.h"
#include "ui_common/template_layout.h"

class QListWidget;
class QPushButton;

namespace m2::setup {

class NumberListView final : public QObject {
 public:
  static constexpr int kListId = 1360;
  static constexpr int kAddId = 1004;
  static constexpr int kDeleteId = 1005;
  static constexpr int kChangeId = 1006;
  // The page's template size in dialog units.
  static constexpr int kPageWidth = 356;
  static constexpr int kPageHeight = 146;

  // list: the page's copy; label: the entry dialogs' "識別番号" or "短縮番号"; changed: the
  // page records a change (page modified, group edited).
  NumberListView(ui::TemplateLayout& layout, NumberList& list, const char* label,
                 std::function<void()> changed);
  ~NumberListView() override;

  const NumberListModel& model() const { return *m_model; }
  QListWidget* list() const { return m_list; }

  void Add();
  void Change();
  void Delete();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::vector<int> Selected() const;
  void SetButtons(const NumberButtons& buttons);
  void ReplaceLine(int index);
  void DoubleClicked();

  const char* m_label;
  std::function<void()> m_changed;
  QWidget* m_page;
  FontTextMeter m_meter;
  std::unique_ptr<NumberListModel> m_model;
  QListWidget* m_list;
  QPushButton* m_add;
  QPushButton* m_delete;
  QPushButton* m_change;
  bool m_settingButtons = false;
};

}  // namespace m2::setup
