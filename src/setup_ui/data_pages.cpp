#include "setup_ui/data_pages.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>

#include "setup_ui/phone_number_edit.h"

namespace m2::setup {

namespace {

constexpr PageForm kGenForm{
    "CPPageDataGen", "一般", 205, 171, {{1101, 1125}, {1301, 1330}, {1401, 1411}, {1308}}};
constexpr PageForm kFlowForm{
    "CPPageDataFlow", "ﾌﾛｰ制御／信号制御", 202, 106, {{}, {}, {1405, 1414}, {}}};
constexpr PageForm kAtForm{
    "CPPageDataAt", "ATｺﾏﾝﾄﾞ", 172, 163, {{1107, 1209}, {}, {1413, 1413}, {}}};

}  // namespace

CPPageDataGen::CPPageDataGen(CKB45mRXObj& record, QWidget* parent)
    : GroupPage(kGenForm, record, parent) {
  DataPortSettings& v = m_values;
  addLabel("発信時のﾌﾟﾛﾄｺﾙ", {7, 8, 57, 8});
  addDropDown({66, 6, 70, 51}, 1411, {"V.110", "非同期/同期PPP"}, v.m_nProtocol);
  addLabel("自己ｱﾄﾞﾚｽ", {7, 25, 56, 8});
  addPhoneNumber({65, 22, 133, 14}, 1329, Field::Address, v.m_strOwnAddress);
  addLabel("自己ｻﾌﾞｱﾄﾞﾚｽ", {7, 42, 56, 8});
  addPhoneNumber({65, 39, 82, 14}, 1330, Field::SubAddress, v.m_strOwnSubAddress);
  addCheck("発信者番号を通知する", {7, 59, 88, 10}, 1122, v.m_bNotifyCallerNumber);
  addGroupBox("着信機能", {7, 77, 179, 57});
  addCheck("ｸﾞﾛｰﾊﾞﾙ着信する", {18, 90, 66, 10}, 1109, v.m_bGlobalIncoming);
  addCheck("ｻﾌﾞｱﾄﾞﾚｽなし着信する", {18, 103, 81, 10}, 1125, v.m_bIncomingNoSubAddress);
  addCheck("ｺｰﾙﾊﾞｯｸ着信する", {18, 116, 73, 10}, 1102, v.m_bCallbackIncoming);
  addCheck("識別着信する", {110, 90, 60, 10}, 1106, v.m_bDiscriminateIncoming);
  addCheck("HLC判別着信する", {110, 103, 70, 10}, 1120, v.m_bHlcDiscriminate);
  addLabel("自動応答", {7, 150, 40, 8});
  m_autoAnswer = addDropDown({49, 148, 90, 38}, 1401, {"自動応答しない", "回数呼出後に自動応答"},
                             v.m_nAutoAnswer);
  m_rings = addNumber({142, 147, 17, 14}, 1308, Field::AnswerRings, v.m_nAnswerRings);
  addLabel("回", {162, 150, 10, 8});
  connect(m_autoAnswer, &QComboBox::currentIndexChanged, this, &CPPageDataGen::applyEnablingRules);
}

void CPPageDataGen::applyEnablingRules() { m_rings->setEnabled(m_autoAnswer->currentIndex() == 1); }

CPPageDataFlow::CPPageDataFlow(CKB45mRXObj& record, QWidget* parent)
    : GroupPage(kFlowForm, record, parent) {
  DataFlowSettings& v = m_values;
  addLabel("ﾌﾛｰ制御", {7, 9, 34, 8});
  addDropDown({43, 7, 51, 44}, 1408, {"なし", "RS-CS", "XON/XOFF"}, v.m_nFlowControl);
  addGroupBox("信号制御", {7, 28, 188, 67});
  addLabel("ER信号", {15, 45, 28, 8});
  addDropDown({45, 43, 122, 55}, 1407, {"常にON", "ｺﾏﾝﾄﾞﾓｰﾄﾞに遷移", "回線切断", "回線切断とﾘｾｯﾄ"},
              v.m_nErSignal);
  addLabel("CD信号", {15, 59, 28, 8});
  addDropDown({45, 57, 122, 37}, 1405, {"常にON", "ﾘﾓｰﾄDTEのRS信号に応じて変化"}, v.m_nCdSignal);
  addLabel("DR信号", {15, 74, 28, 8});
  addDropDown({45, 72, 122, 40}, 1406, {"常にON", "ﾘﾓｰﾄDTEのER信号に応じて変化"}, v.m_nDrSignal);
}

CPPageDataAt::CPPageDataAt(CKB45mRXObj& record, QWidget* parent)
    : GroupPage(kAtForm, record, parent) {
  DataAtSettings& v = m_values;
  addCheck("ｴｺｰﾊﾞｯｸする", {7, 7, 57, 10}, 1107, v.m_bEcho);
  addGroupBox("ﾘｻﾞﾙﾄｺｰﾄﾞ", {7, 22, 157, 132});
  m_resultCodes = addCheck("ﾘｻﾞﾙﾄｺｰﾄﾞを使用する", {19, 35, 83, 10}, 1123, v.m_bResultCodes);
  addLabel("ｺｰﾄﾞ形式", {19, 51, 32, 8});
  m_form = addDropDown({53, 49, 51, 41}, 1413, {"数字形式", "文字形式"}, v.m_nResultFormat);
  addGroupBox("ｺｰﾄﾞｾｯﾄ", {15, 65, 140, 81});
  addRadioGroup({{"基本ｺｰﾄﾞｾｯﾄ", {25, 77, 80, 10}},
                 {"拡張ｺｰﾄﾞｾｯﾄ1", {25, 90, 80, 10}},
                 {"拡張ｺｰﾄﾞｾｯﾄ2", {25, 103, 80, 10}},
                 {"拡張ｺｰﾄﾞｾｯﾄ3", {25, 116, 80, 10}},
                 {"拡張ｺｰﾄﾞｾｯﾄ4", {25, 129, 80, 10}}},
                1205, v.m_nCodeSet);
  // After every click or selection change on the page.
  for (QAbstractButton* button : findChildren<QAbstractButton*>())
    connect(button, &QAbstractButton::clicked, this, &CPPageDataAt::applyEnablingRules);
  connect(m_form, &QComboBox::currentIndexChanged, this, &CPPageDataAt::applyEnablingRules);
}

void CPPageDataAt::applyEnablingRules() { m_form->setEnabled(m_resultCodes->isChecked()); }

}  // namespace m2::setup
