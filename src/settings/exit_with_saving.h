#pragma once
// The exit with saving: what M2Setup does when the user answers yes to the exit question
// (m2ctl ends its settings commands the same way). In this fixed order:
//   1. if m_bModified: SaveFile; a failure, or a rejected file kept as .bad, is shown
//      through the link's dialogs, and the exit goes on;
//   2. if m_bTaChanged: RestoreResultModes, then StoreInTa (AT&W0), so that the TA stores
//      its settings with its own result-code modes; neither result stops the exit;
//   3. DisconnectTa(1): nothing is left to restore after step 2; the port is closed.
// Leaving without saving is DisconnectTa(1) alone.
#include "settings/settings_record.h"

namespace m2 {

class LinkOwner;

// 1 when the settings file was saved or needed no saving; 0 when the save failed.
int ExitWithSaving(CKB45mRXObj& record, LinkOwner& link);

}  // namespace m2
