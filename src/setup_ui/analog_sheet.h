#pragma once
// The analog port sheet: TEL1, TEL2 and the common page. "更新" writes all three pages'
// settings to the TA, pages never shown included.
#include "setup_ui/property_sheet.h"

namespace m2 {
class CKB45mRXObj;
class LinkOwner;
}  // namespace m2

namespace m2::setup {

class CPPageAnalogP1;
class CPPageAnalogP2;
class CPPageAnalogCom;

class CPSheetAnalog final : public PropertySheet {
 public:
  CPSheetAnalog(CKB45mRXObj& record, LinkOwner& link, QWidget* parent);

 protected:
  void apply() override;

 private:
  CKB45mRXObj& m_record;
  LinkOwner& m_link;
  CPPageAnalogP1* m_tel1;
  CPPageAnalogP2* m_tel2;
  CPPageAnalogCom* m_common;
};

}  // namespace m2::setup
