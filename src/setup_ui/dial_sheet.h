#pragma once
// CPSheetDial: the telephone-number sheet, one page per number list. "更新" writes the four
// pages' copies to the TA, entries 0 to 9 of every list, used or not.
#include "settings/settings_record.h"
#include "setup_ui/property_sheet.h"

namespace m2 {
class LinkOwner;
}

namespace m2::setup {

class CPPageDialDiscAng1;
class CPPageDialDiscAng2;
class CPPageDialShortData;
class CPPageDialDiscData;

class CPSheetDial final : public PropertySheet {
 public:
  CPSheetDial(CKB45mRXObj& record, LinkOwner& link, QWidget* parent);

 protected:
  void apply() override;

 private:
  CKB45mRXObj& m_record;
  LinkOwner& m_link;
  CPPageDialDiscAng1* m_discTel1;
  CPPageDialDiscAng2* m_discTel2;
  CPPageDialShortData* m_shortDialData;
  CPPageDialDiscData* m_discData;
};

}  // namespace m2::setup
