#pragma once
// The PC communication port sheet: which COM port, speed and character format M2Setup
// uses. Never sent to the TA: "更新" reconnects the link with the page's values (the TA's
// result-code modes restored on the old port first); OK alone only copies them back, so
// the link stays where it is until the next start.
#include "setup_ui/property_page.h"
#include "setup_ui/property_sheet.h"

namespace m2 {
class LinkOwner;
}

namespace m2::setup {

class CPPageComGen final : public GroupPage<SettingsGroup::PcPort> {
 public:
  CPPageComGen(CKB45mRXObj& record, QWidget* parent);
};

class CPSheetCom final : public PropertySheet {
 public:
  CPSheetCom(CKB45mRXObj& record, LinkOwner& link, QWidget* parent);

 protected:
  void apply() override;

 private:
  LinkOwner& m_link;
  CPPageComGen* m_page;
};

}  // namespace m2::setup
