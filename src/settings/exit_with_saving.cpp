#include "settings/exit_with_saving.h"

#include "serial/link_owner.h"
#include "settings/config_write.h"
#include "settings/settings_messages.h"

namespace m2 {

int ExitWithSaving(CKB45mRXObj& record, LinkOwner& link) {
  LinkOwner::Leaving leaving(link);
  int saved = 1;
  if (record.m_bModified == 1) {
    const CKB45mRXObj::SaveResult r = record.SaveFile();
    if (!r) {
      link.dialogs().showMessage(kSaveFailedText);
      saved = 0;
    } else if (!r.keptBadFile.empty()) {
      link.dialogs().showMessage(KeptBadFileText(r.keptBadFile.string()));
    }
  }
  if (record.m_bTaChanged == 1) {
    link.RestoreResultModes();
    StoreInTa(link);
  }
  link.DisconnectTa(1);
  return saved;
}

}  // namespace m2
