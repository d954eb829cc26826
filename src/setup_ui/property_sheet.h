#pragma once
// PropertySheet: the common form of M2Setup's sheets. A modal dialog with a tab per page,
// the first shown first, and the buttons OK (1), "ｷｬﾝｾﾙ" (2) and the apply button
// (12321) titled "更新", disabled until a page reports a change.
//
// "更新" takes the current page's values (a value that fails is shown and nothing is
// written), runs the sheet's apply() (its write to the TA, or the reconnection), and then
// the standard apply step: every page counts as applied and "更新" is disabled again
// until the next change, whatever apply() achieved. OK takes the current page's values
// and closes; the owner then copies back the edited groups (copyBackEdited). Cancel
// closes; nothing is copied back, and what "更新" wrote to the TA stays written. Leaving
// a tab takes its page's values; a value that fails keeps that tab on top.
#include <QDialog>
#include <array>
#include <vector>

class QPushButton;
class QTabWidget;

namespace m2::setup {

class PropertyPage;

class PropertySheet : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kOkId = 1;
  static constexpr int kCancelId = 2;
  static constexpr int kApplyId = 12321;

  int pageCount() const { return static_cast<int>(m_pages.size()); }
  PropertyPage* page(int index) const { return m_pages.at(static_cast<std::size_t>(index)); }
  PropertyPage* currentPage() const;
  QTabWidget* tabs() const { return m_tabs; }
  QPushButton* applyButton() const { return m_apply; }

  // After OK: every page's group the user edited goes back into the record.
  void copyBackEdited();

 protected:
  // className: the sheet's object name; captionId: its caption's string resource.
  PropertySheet(const char* className, int captionId, QWidget* parent);

  // Pages in tab order; the sheet owns them.
  void addPage(PropertyPage* page);
  // The sheet's own work for "更新", with the pages' values.
  virtual void apply() = 0;

  void accept() override;

 private:
  void applyClicked();
  void tabChanged(int index);

  QTabWidget* m_tabs;
  QPushButton* m_apply;
  std::array<QPushButton*, 3> m_buttons{};  // OK, cancel, apply
  std::vector<PropertyPage*> m_pages;
  int m_shownTab = 0;
};

}  // namespace m2::setup
