#include "setup_ui/analog_sheet.h"

#include "settings/config_write.h"
#include "setup_ui/analog_pages.h"
#include "setup_ui/setup_strings.h"

namespace m2::setup {

CPSheetAnalog::CPSheetAnalog(CKB45mRXObj& record, LinkOwner& link, QWidget* parent)
    : PropertySheet("CPSheetAnalog", str::kAnalogSheetCaption, parent),
      m_record(record),
      m_link(link),
      m_tel1(new CPPageAnalogP1(record, link, this)),
      m_tel2(new CPPageAnalogP2(record, link, this)),
      m_common(new CPPageAnalogCom(record, this)) {
  addPage(m_tel1);
  addPage(m_tel2);
  addPage(m_common);
}

void CPSheetAnalog::apply() {
  WriteAnalogSheet(m_link, m_record, m_tel1->values(), m_tel2->values(), m_common->values());
}

}  // namespace m2::setup
