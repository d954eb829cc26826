#include "setup_ui/flex_sheets.h"

#include <QComboBox>

#include "settings/config_write.h"
#include "setup_ui/phone_number_edit.h"
#include "setup_ui/setup_strings.h"

namespace m2::setup {

namespace {

constexpr ChangeRules kFlexRules{{1105, 1127}, {1327, 1361}, {1415, 1415}, {1327, 1328, 1358}};
constexpr PageForm kTel1FlexForm{"CPPageAnalogP1Flex", "一般", 204, 148, kFlexRules};
constexpr PageForm kTel2FlexForm{"CPPageAnalogP2Flex", "一般", 204, 148, kFlexRules};

}  // namespace

template <SettingsGroup G>
FlexphonePage<G>::FlexphonePage(const PageForm& form, CKB45mRXObj& record, QWidget* parent)
    : GroupPage<G>(form, record, parent) {
  FlexphoneSettings& v = this->m_values;
  this->addCheck("CW時の話中着信する", {7, 7, 85, 10}, 1105, v.m_bCwBusyIncoming);
  this->addLabel("ﾌｯｷﾝｸﾞ を判別する時間", {7, 26, 117, 8});
  this->addNumber({126, 23, 18, 14}, 1327, Field::HookDetectTime, v.m_nHookDetectTime);
  this->addLabel("x 0.1秒", {147, 26, 40, 8});
  this->addLabel("ﾌｯｷﾝｸﾞ 後に操作を受け入れる時間", {7, 44, 117, 8});
  this->addNumber({126, 41, 18, 14}, 1328, Field::HookAcceptTime, v.m_nHookAcceptTime);
  this->addLabel("秒", {147, 44, 12, 8});
  this->addGroupBox("着信転送機能", {7, 60, 190, 80});
  this->addLabel("転送先ｱﾄﾞﾚｽ", {13, 74, 44, 8});
  this->addPhoneNumber({58, 71, 133, 14}, 1361, Field::TransferAddress, v.m_strTransferAddress);
  this->addGroupBox("転送ﾄｰｷ", {13, 90, 115, 24});
  this->addCheck("転送ﾄｰｷ", {26, 99, 41, 10}, 1126, v.m_bTransferTalk);
  this->addCheck("転送元ﾄｰｷ", {74, 99, 46, 10}, 1127, v.m_bTransferSourceTalk);
  this->addLabel("起動ﾀｲﾐﾝｸﾞ", {13, 120, 38, 8});
  m_start = this->addDropDown({52, 118, 75, 42}, 1415, {"直後に起動", "回数呼出後に起動"},
                              v.m_nTransferStart);
  m_rings = this->addNumber({129, 117, 17, 14}, 1358, Field::TransferRings, v.m_nTransferRings);
  this->addLabel("回", {149, 120, 10, 8});
  QObject::connect(m_start, &QComboBox::currentIndexChanged, this,
                   [this] { applyEnablingRules(); });
}

template <SettingsGroup G>
void FlexphonePage<G>::applyEnablingRules() {
  m_rings->setEnabled(m_start->currentIndex() == 1);
}

template class FlexphonePage<SettingsGroup::Tel1Flex>;
template class FlexphonePage<SettingsGroup::Tel2Flex>;

CPPageAnalogP1Flex::CPPageAnalogP1Flex(CKB45mRXObj& record, QWidget* parent)
    : FlexphonePage(kTel1FlexForm, record, parent) {}

CPPageAnalogP2Flex::CPPageAnalogP2Flex(CKB45mRXObj& record, QWidget* parent)
    : FlexphonePage(kTel2FlexForm, record, parent) {}

FlexSheet::FlexSheet(const char* className, int port, CKB45mRXObj& record, LinkOwner& link,
                     QWidget* parent)
    : PropertySheet(className, str::kFlexSheetCaption, parent),
      m_port(port),
      m_record(record),
      m_link(link) {
  if (port == 1)
    addPage(new CPPageAnalogP1Flex(record, this));
  else
    addPage(new CPPageAnalogP2Flex(record, this));
}

const FlexphoneSettings& FlexSheet::values() const {
  if (m_port == 1) return static_cast<const CPPageAnalogP1Flex*>(page(0))->values();
  return static_cast<const CPPageAnalogP2Flex*>(page(0))->values();
}

void FlexSheet::apply() { WriteFlexSheet(m_link, m_record, m_port, values()); }

CPSheetAnalogP1Flex::CPSheetAnalogP1Flex(CKB45mRXObj& record, LinkOwner& link, QWidget* parent)
    : FlexSheet("CPSheetAnalogP1Flex", 1, record, link, parent) {}

CPSheetAnalogP2Flex::CPSheetAnalogP2Flex(CKB45mRXObj& record, LinkOwner& link, QWidget* parent)
    : FlexSheet("CPSheetAnalogP2Flex", 2, record, link, parent) {}

void RunFlexSheet(int port, CKB45mRXObj& record, LinkOwner& link, QWidget* parent) {
  auto run = [](FlexSheet& sheet) {
    if (sheet.exec() == QDialog::Accepted) sheet.copyBackEdited();
  };
  if (port == 1) {
    CPSheetAnalogP1Flex sheet(record, link, parent);
    run(sheet);
  } else {
    CPSheetAnalogP2Flex sheet(record, link, parent);
    run(sheet);
  }
}

}  // namespace m2::setup
