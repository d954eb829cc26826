#pragma once
// The four pages of the telephone-number sheet, one family: each holds its copy of one
// number list and differs from the others only in its row of the family table.
#include <memory>

#include "setup_ui/number_list_view.h"
#include "setup_ui/property_page.h"

namespace m2::setup {

struct NumberPageForm {
  PageForm page;
  const char* label;  // in the entry dialogs
};

template <SettingsGroup G>
class NumberListPage : public GroupPage<G> {
 public:
  NumberListView& view() const { return *m_view; }

 protected:
  NumberListPage(const NumberPageForm& form, CKB45mRXObj& record, QWidget* parent)
      : GroupPage<G>(form.page, record, parent),
        m_view(std::make_unique<NumberListView>(this->layout(), this->m_values, form.label,
                                                [this] { this->markChanged(); })) {}

 private:
  std::unique_ptr<NumberListView> m_view;
};

class CPPageDialDiscAng1 final : public NumberListPage<SettingsGroup::DiscTel1> {
 public:
  CPPageDialDiscAng1(CKB45mRXObj& record, QWidget* parent);
};

class CPPageDialDiscAng2 final : public NumberListPage<SettingsGroup::DiscTel2> {
 public:
  CPPageDialDiscAng2(CKB45mRXObj& record, QWidget* parent);
};

class CPPageDialShortData final : public NumberListPage<SettingsGroup::ShortDialData> {
 public:
  CPPageDialShortData(CKB45mRXObj& record, QWidget* parent);
};

class CPPageDialDiscData final : public NumberListPage<SettingsGroup::DiscData> {
 public:
  CPPageDialDiscData(CKB45mRXObj& record, QWidget* parent);
};

}  // namespace m2::setup
