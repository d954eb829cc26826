#include "setup_ui/com_sheet.h"

#include <QComboBox>

#include "serial/link_owner.h"
#include "setup_ui/setup_strings.h"
#include "ui_common/com_device_row.h"

namespace m2::setup {

namespace {
constexpr PageForm kComForm{"CPPageComGen", "一般", 192, 110, {{1201, 1204}, {}, {1402, 1404}, {}}};
}  // namespace

CPPageComGen::CPPageComGen(CKB45mRXObj& record, QWidget* parent)
    : GroupPage(kComForm, record, parent) {
  PcPortSettings& v = m_values;
  addLabel("COMﾎﾟｰﾄ", {7, 9, 35, 8});
  QComboBox* ports = addDropDown({44, 7, 48, 51}, 1404,
                                 {"ＣＯＭ１", "ＣＯＭ２", "ＣＯＭ３", "ＣＯＭ４"}, v.m_nComPort);
  addLabel("速度", {113, 9, 18, 8});
  addDropDown({133, 7, 48, 89}, 1402, {"2400", "4800", "9600", "19200", "38400", "57600", "115200"},
              v.m_nSpeed);
  addGroupBox("ﾃﾞｰﾀ ﾌｫｰﾏｯﾄ", {7, 31, 108, 68});
  addRadioGroup({{"8bit-NONEParity-Stop1", {17, 43, 92, 10}},
                 {"7bit-EVENParity-Stop1", {17, 56, 92, 10}},
                 {"7bit-ODDParity-Stop1", {17, 69, 92, 10}},
                 {"7bit-NONEParity-Stop2", {17, 82, 92, 10}}},
                1201, v.m_nDataFormat);
  // Ours: the device the chosen COM number opens, and the chooser that links one to it.
  new ui::ComDeviceRow(layout(), ports, {7, 21, 178, 8}, {121, 82, 64, 14});
}

CPSheetCom::CPSheetCom(CKB45mRXObj& record, LinkOwner& link, QWidget* parent)
    : PropertySheet("CPSheetCom", str::kComSheetCaption, parent),
      m_link(link),
      m_page(new CPPageComGen(record, this)) {
  addPage(m_page);
}

void CPSheetCom::apply() {
  // The result is not examined: failures have been shown, and the next exchange with
  // the TA connects again with the record's settings.
  const PcPortSettings& v = m_page->values();
  const PortSettings chosen{v.m_nComPort, v.m_nSpeed, v.m_nDataFormat};
  m_link.ConnectTa(kDisplayMessageBox, nullptr, &chosen, 1);
}

}  // namespace m2::setup
