#pragma once
// The exit with saving: what M2Setup does when the user answers yes to the exit question
// (m2ctl ends its settings commands the same way). In this fixed order:
//   1. if m_bModified: SaveFile; a rejected file kept as .bad is shown through the link's
//      dialogs. A failed save is shown and ends the exit there: nothing is sent to the TA
//      and the port stays open, so that the caller can keep its edits (M2Setup stays open
//      as after "ｷｬﾝｾﾙ") or leave without saving;
//   2. if m_bTaChanged: RestoreResultModes, then StoreInTa (AT&W0), so that the TA stores
//      its settings with its own result-code modes. A TA given back its quiet mode answers
//      AT&W0 with silence, which counts as stored; neither result stops the exit;
//   3. DisconnectTa(1): nothing is left to restore after step 2; the port is closed.
// Leaving without saving is DisconnectTa(1) alone.
#include "settings/settings_record.h"

namespace m2 {

class LinkOwner;

enum ExitSavingResult : int {
  kExitSaveFailed = 0,   // the settings file could not be written; nothing else was done
  kExitSaved = 1,        // saved (or nothing to save), the TA told to store, the port closed
  kExitStoreFailed = 2,  // as kExitSaved, but the TA refused or missed AT&W0
};

ExitSavingResult ExitWithSaving(CKB45mRXObj& record, LinkOwner& link);

}  // namespace m2
