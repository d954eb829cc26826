#include "setup_ui/analog_pages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "setup_ui/flex_sheets.h"

namespace m2::setup {

namespace {

constexpr ChangeRules kPortRules{{1106, 1125}, {1324, 1330}, {1409, 1416}, {1324}};
constexpr PageForm kTel1Form{"CPPageAnalogP1", "TEL1 ﾎﾟｰﾄ", 205, 218, kPortRules};
constexpr PageForm kTel2Form{"CPPageAnalogP2", "TEL2 ﾎﾟｰﾄ", 205, 218, kPortRules};
constexpr PageForm kCommonForm{
    "CPPageAnalogCom", "ﾎﾟｰﾄ共通", 206, 143, {{1103, 1128}, {}, {1403, 1410}, {}}};

constexpr int PortOf(SettingsGroup g) { return g == SettingsGroup::Tel1 ? 1 : 2; }

}  // namespace

template <SettingsGroup G>
AnalogPortPage<G>::AnalogPortPage(const PageForm& form, CKB45mRXObj& record, LinkOwner& link,
                                  QWidget* parent)
    : GroupPage<G>(form, record, parent) {
  AnalogPortSettings& v = this->m_values;
  this->addLabel("自己ｱﾄﾞﾚｽ", {7, 9, 56, 8});
  this->addPhoneNumber({65, 6, 133, 14}, 1329, Field::Address, v.m_strOwnAddress);
  this->addLabel("自己ｻﾌﾞｱﾄﾞﾚｽ", {7, 26, 56, 8});
  this->addPhoneNumber({65, 23, 82, 14}, 1330, Field::SubAddress, v.m_strOwnSubAddress);
  this->addLabel("HLC種別", {7, 42, 56, 8});
  this->addDropDown({65, 40, 48, 44}, 1409, {"電話", "ＦＡＸ", "使用しない"}, v.m_nHlcType);
  this->addCheck("発信者番号を通知する", {7, 59, 88, 10}, 1122, v.m_bNotifyCallerNumber);
  if constexpr (G == SettingsGroup::Tel1)
    this->addCheck("切断信号を極性反転して通知する", {7, 74, 118, 10}, 1124, v.m_bPolarityReversal);
  this->addGroupBox("着信機能", {7, 91, 179, 46});
  this->addCheck("ｸﾞﾛｰﾊﾞﾙ着信する", {18, 105, 66, 10}, 1109, v.m_bGlobalIncoming);
  this->addCheck("ｻﾌﾞｱﾄﾞﾚｽなし着信する", {18, 118, 81, 10}, 1125, v.m_bIncomingNoSubAddress);
  this->addCheck("識別着信する", {110, 105, 60, 10}, 1106, v.m_bDiscriminateIncoming);
  this->addCheck("HLC判別着信する", {110, 118, 70, 10}, 1120, v.m_bHlcDiscriminate);
  this->addLabel("ﾀﾞｲﾔﾙ桁間ﾀｲﾏ", {7, 147, 70, 8});
  this->addNumber({79, 144, 27, 14}, 1324, Field::DialDigitTimer, v.m_nDialDigitTimer);
  this->addLabel("秒", {109, 147, 12, 8});
  this->addGroupBox("PADの減衰量", {7, 162, 115, 48});
  this->addLabel("送話PAD", {15, 177, 48, 8});
  this->addDropDown({65, 175, 48, 59}, 1416, {"PADなし", "3ｄB", "6ｄB", "3ｄBｹﾞｲﾝ"},
                    v.m_nTransmitPad);
  this->addLabel("受話PAD", {15, 193, 48, 8});
  this->addDropDown({65, 191, 48, 53}, 1412, {"PADなし", "3ｄB", "6ｄB", "9ｄB"}, v.m_nReceivePad);
  QPushButton* flex = this->layout().addButton(QStringLiteral("ﾌﾚｯｸｽﾎﾝの設定(&F)"),
                                               {127, 196, 71, 14}, kFlexButton);
  QObject::connect(flex, &QPushButton::clicked, this, [this, rec = &record, lnk = &link] {
    RunFlexSheet(PortOf(G), *rec, *lnk, this->window());
  });
}

template class AnalogPortPage<SettingsGroup::Tel1>;
template class AnalogPortPage<SettingsGroup::Tel2>;

CPPageAnalogP1::CPPageAnalogP1(CKB45mRXObj& record, LinkOwner& link, QWidget* parent)
    : AnalogPortPage(kTel1Form, record, link, parent) {}

CPPageAnalogP2::CPPageAnalogP2(CKB45mRXObj& record, LinkOwner& link, QWidget* parent)
    : AnalogPortPage(kTel2Form, record, link, parent) {}

CPPageAnalogCom::CPPageAnalogCom(CKB45mRXObj& record, QWidget* parent)
    : GroupPage(kCommonForm, record, parent) {
  PortCommonSettings& v = m_values;
  addGroupBox("ﾌﾚｯｸｽﾎﾝ", {7, 5, 168, 74});
  m_callWaiting = addCheck("ｺｰﾙｳｪｲﾃｨﾝｸﾞ機能を使用する", {14, 17, 103, 10}, 1103, v.m_bCallWaiting);
  m_callWaitingType = addDropDown({122, 16, 45, 43}, 1403, {"擬似", "ﾌﾚｯｸｽ"}, v.m_nCallWaitingType);
  m_functions[0] =
      addCheck("通信中転送機能を使用する", {14, 32, 103, 10}, 1104, v.m_bTransferDuringCall);
  m_functions[1] = addCheck("三者通話機能を使用する", {14, 47, 96, 10}, 1128, v.m_bThreePartyCall);
  m_functions[2] =
      addCheck("着信転送機能を使用する", {14, 62, 96, 10}, 1121, v.m_bIncomingTransfer);
  addLabel("優先着信機能", {7, 89, 50, 8});
  addDropDown({59, 87, 57, 49}, 1410, {"使用しない", "TEL1 ﾎﾟｰﾄ", "TEL2 ﾎﾟｰﾄ"},
              v.m_nPriorityIncoming);
  connect(m_callWaiting, &QCheckBox::clicked, this, &CPPageAnalogCom::applyEnablingRules);
  connect(m_callWaitingType, &QComboBox::currentIndexChanged, this,
          &CPPageAnalogCom::applyEnablingRules);
}

void CPPageAnalogCom::applyEnablingRules() {
  const bool callWaiting = m_callWaiting->isChecked();
  m_callWaitingType->setEnabled(callWaiting);
  const bool pseudo = callWaiting && m_callWaitingType->currentIndex() == 0;
  for (QCheckBox* box : m_functions) box->setEnabled(!pseudo);
}

}  // namespace m2::setup
