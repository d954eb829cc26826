#pragma once
// The data port sheet. "更新" writes the three pages' settings; the result-code use and
// form are not sent but become the modes the link gives back to the TA when it leaves it.
#include "setup_ui/property_sheet.h"

namespace m2 {
class CKB45mRXObj;
class LinkOwner;
}  // namespace m2

namespace m2::setup {

class CPPageDataGen;
class CPPageDataFlow;
class CPPageDataAt;

class CPSheetData final : public PropertySheet {
 public:
  CPSheetData(CKB45mRXObj& record, LinkOwner& link, QWidget* parent);

 protected:
  void apply() override;

 private:
  CKB45mRXObj& m_record;
  LinkOwner& m_link;
  CPPageDataGen* m_gen;
  CPPageDataFlow* m_flow;
  CPPageDataAt* m_at;
};

}  // namespace m2::setup
