#include "settings/exit_with_saving.h"

#include "serial/link_owner.h"
#include "settings/config_write.h"
#include "settings/settings_messages.h"

namespace m2 {

ExitSavingResult ExitWithSaving(CKB45mRXObj& record, LinkOwner& link) {
  LinkOwner::Leaving leaving(link);
  if (record.m_bModified == 1) {
    const CKB45mRXObj::SaveResult r = record.SaveFile();
    if (!r) {
      link.dialogs().showMessage(kSaveFailedText);
      return kExitSaveFailed;
    }
    if (!r.keptBadFile.empty()) link.dialogs().showMessage(KeptBadFileText(r.keptBadFile.string()));
  }
  ExitSavingResult result = kExitSaved;
  if (record.m_bTaChanged == 1) {
    const bool quietAgain = link.resultCodesWereOn == 0;
    const int restored = link.RestoreResultModes();
    if (StoreInTa(link, quietAgain && restored == 1) != 1) result = kExitStoreFailed;
  }
  link.DisconnectTa(1);
  return result;
}

}  // namespace m2
