#include "setup_ui/data_sheet.h"

#include "settings/config_write.h"
#include "setup_ui/data_pages.h"
#include "setup_ui/setup_strings.h"

namespace m2::setup {

CPSheetData::CPSheetData(CKB45mRXObj& record, LinkOwner& link, QWidget* parent)
    : PropertySheet("CPSheetData", str::kDataSheetCaption, parent),
      m_record(record),
      m_link(link),
      m_gen(new CPPageDataGen(record, this)),
      m_flow(new CPPageDataFlow(record, this)),
      m_at(new CPPageDataAt(record, this)) {
  addPage(m_gen);
  addPage(m_flow);
  addPage(m_at);
}

void CPSheetData::apply() {
  WriteDataSheet(m_link, m_record, m_gen->values(), m_flow->values(), m_at->values());
}

}  // namespace m2::setup
