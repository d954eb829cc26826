#pragma once
// The pages of the data port sheet: general, flow/signal control, AT command.
#include "setup_ui/property_page.h"

namespace m2::setup {

// The ring count takes part only with "回数呼出後に自動応答".
class CPPageDataGen final : public GroupPage<SettingsGroup::DataGen> {
 public:
  CPPageDataGen(CKB45mRXObj& record, QWidget* parent);
  void applyEnablingRules() override;

 private:
  QComboBox* m_autoAnswer;
  QWidget* m_rings;
};

class CPPageDataFlow final : public GroupPage<SettingsGroup::DataFlow> {
 public:
  CPPageDataFlow(CKB45mRXObj& record, QWidget* parent);
};

// The code form takes part only while result codes are used; the code set always does.
class CPPageDataAt final : public GroupPage<SettingsGroup::DataAt> {
 public:
  CPPageDataAt(CKB45mRXObj& record, QWidget* parent);
  void applyEnablingRules() override;

 private:
  QCheckBox* m_resultCodes;
  QComboBox* m_form;
};

}  // namespace m2::setup
