#pragma once
// After a sheet was closed with OK, each page's group goes back into the record only when
// the user edited it on that page (its m_bEdited flag is 1); copying back marks the record
// for saving. Untouched groups, and everything after cancel, stay as the record had them.
#include "settings/settings_record.h"

namespace m2 {

// true when the group was copied back.
template <SettingsGroup G>
bool CopyBackIfEdited(CKB45mRXObj& record, const GroupType<G>& page) {
  if (record.Edited(G) != 1) return false;
  record.CopyFromPage<G>(page);
  return true;
}

// CopyBackEdited<SettingsGroup::Tel1, SettingsGroup::Tel2>(record, tel1, tel2)
template <SettingsGroup... Gs>
void CopyBackEdited(CKB45mRXObj& record, const GroupType<Gs>&... pages) {
  (CopyBackIfEdited<Gs>(record, pages), ...);
}

}  // namespace m2
