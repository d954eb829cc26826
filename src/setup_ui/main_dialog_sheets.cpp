#include "setup_ui/setup_main_dialog.h"

namespace m2::setup {

// The property sheets: each page copies its group when the sheet is built; after OK the
// groups a page edited are copied back into the record.
void SetupMainDialog::ShowSheet(SheetKind kind) {
  switch (kind) {
    case SheetKind::Analog:
    case SheetKind::Data:
    case SheetKind::Numbers:
    case SheetKind::PcPort:
      break;
  }
}

}  // namespace m2::setup
