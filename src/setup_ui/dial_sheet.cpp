#include "setup_ui/dial_sheet.h"

#include "settings/config_write.h"
#include "setup_ui/number_pages.h"
#include "setup_ui/setup_strings.h"

namespace m2::setup {

CPSheetDial::CPSheetDial(CKB45mRXObj& record, LinkOwner& link, QWidget* parent)
    : PropertySheet("CPSheetDial", str::kDialSheetCaption, parent),
      m_record(record),
      m_link(link),
      m_discTel1(new CPPageDialDiscAng1(record, this)),
      m_discTel2(new CPPageDialDiscAng2(record, this)),
      m_shortDialData(new CPPageDialShortData(record, this)),
      m_discData(new CPPageDialDiscData(record, this)) {
  for (PropertyPage* page :
       std::initializer_list<PropertyPage*>{m_discTel1, m_discTel2, m_shortDialData, m_discData})
    addPage(page);
}

void CPSheetDial::apply() {
  WriteNumberSheet(m_link, m_record,
                   {m_discTel1->values(), m_discTel2->values(), m_shortDialData->values(),
                    m_discData->values()});
}

}  // namespace m2::setup
