#pragma once
// The pages of the analog port sheet: TEL1 and TEL2 (the same controls, TEL2 without
// polarity reversal; button 1008 runs the port's flexphone sheet at once) and the
// settings common to both ports.
#include "setup_ui/property_page.h"

namespace m2 {
class LinkOwner;
}

namespace m2::setup {

template <SettingsGroup G>
class AnalogPortPage : public GroupPage<G> {
 public:
  static constexpr int kFlexButton = 1008;

 protected:
  AnalogPortPage(const PageForm& form, CKB45mRXObj& record, LinkOwner& link, QWidget* parent);
};

class CPPageAnalogP1 final : public AnalogPortPage<SettingsGroup::Tel1> {
 public:
  CPPageAnalogP1(CKB45mRXObj& record, LinkOwner& link, QWidget* parent);
};

class CPPageAnalogP2 final : public AnalogPortPage<SettingsGroup::Tel2> {
 public:
  CPPageAnalogP2(CKB45mRXObj& record, LinkOwner& link, QWidget* parent);
};

// Call waiting "擬似" (pseudo) leaves no room for the three other functions: their boxes
// are disabled, keeping their ticks.
class CPPageAnalogCom final : public GroupPage<SettingsGroup::Common> {
 public:
  CPPageAnalogCom(CKB45mRXObj& record, QWidget* parent);
  void applyEnablingRules() override;

 private:
  QCheckBox* m_callWaiting;
  QComboBox* m_callWaitingType;
  std::array<QCheckBox*, 3> m_functions{};
};

}  // namespace m2::setup
