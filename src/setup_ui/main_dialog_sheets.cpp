#include "setup_ui/analog_sheet.h"
#include "setup_ui/com_sheet.h"
#include "setup_ui/data_sheet.h"
#include "setup_ui/dial_sheet.h"
#include "setup_ui/setup_main_dialog.h"

namespace m2::setup {

namespace {

// Each page copied its group when the sheet was built; after OK the groups the user
// edited go back into the record. Cancel keeps the record as it was.
void RunSheet(PropertySheet& sheet) {
  if (sheet.exec() == QDialog::Accepted) sheet.copyBackEdited();
}

}  // namespace

void SetupMainDialog::ShowSheet(SheetKind kind) {
  switch (kind) {
    case SheetKind::Analog: {
      CPSheetAnalog sheet(m_record, m_link, this);
      RunSheet(sheet);
      break;
    }
    case SheetKind::Data: {
      CPSheetData sheet(m_record, m_link, this);
      RunSheet(sheet);
      break;
    }
    case SheetKind::Numbers: {
      CPSheetDial sheet(m_record, m_link, this);
      RunSheet(sheet);
      break;
    }
    case SheetKind::PcPort: {
      CPSheetCom sheet(m_record, m_link, this);
      RunSheet(sheet);
      break;
    }
  }
}

}  // namespace m2::setup
