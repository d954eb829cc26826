#pragma once
// The flexphone sheets of TEL1 and TEL2, nested in the analog port sheet: one page each,
// "更新" writes that port's flexphone settings. Closed with OK, the page's group goes back
// into the record at once (when edited), whatever becomes of the analog sheet.
#include "setup_ui/property_page.h"
#include "setup_ui/property_sheet.h"

namespace m2 {
class LinkOwner;
}

namespace m2::setup {

// The ring count field takes part only when the transfer starts after a number of rings.
template <SettingsGroup G>
class FlexphonePage : public GroupPage<G> {
 public:
  void applyEnablingRules() override;

 protected:
  FlexphonePage(const PageForm& form, CKB45mRXObj& record, QWidget* parent);

 private:
  QComboBox* m_start;
  QWidget* m_rings;
};

class CPPageAnalogP1Flex final : public FlexphonePage<SettingsGroup::Tel1Flex> {
 public:
  CPPageAnalogP1Flex(CKB45mRXObj& record, QWidget* parent);
};

class CPPageAnalogP2Flex final : public FlexphonePage<SettingsGroup::Tel2Flex> {
 public:
  CPPageAnalogP2Flex(CKB45mRXObj& record, QWidget* parent);
};

// Port 1 (TEL1) or 2 (TEL2) with its page.
class FlexSheet : public PropertySheet {
 public:
  int port() const { return m_port; }
  const FlexphoneSettings& values() const;

 protected:
  FlexSheet(const char* className, int port, CKB45mRXObj& record, LinkOwner& link, QWidget* parent);
  void apply() override;

 private:
  int m_port;
  CKB45mRXObj& m_record;
  LinkOwner& m_link;
};

class CPSheetAnalogP1Flex final : public FlexSheet {
 public:
  CPSheetAnalogP1Flex(CKB45mRXObj& record, LinkOwner& link, QWidget* parent);
};

class CPSheetAnalogP2Flex final : public FlexSheet {
 public:
  CPSheetAnalogP2Flex(CKB45mRXObj& record, LinkOwner& link, QWidget* parent);
};

// Runs the port's flexphone sheet modally and copies its group back after OK.
void RunFlexSheet(int port, CKB45mRXObj& record, LinkOwner& link, QWidget* parent);

}  // namespace m2::setup
