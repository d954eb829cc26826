#pragma once
// Reading the TA's whole configuration into the settings record: seven listing commands,
// each reply parsed straight into the record. A failure ends the read at once (the engine
// or message 9 has told the user); what was stored before stays, and neither m_bModified
// nor m_bTaChanged is touched.
#include "serial/at_session.h"
#include "settings/listing_parser.h"
#include "settings/settings_record.h"

namespace m2 {

class LinkOwner;

// 1 when every command succeeded and every value was accepted, else 0. After a mode-0
// read that succeeded, the caller sets m_bModified.
int ReadConfiguration(CKB45mRXObj& record, LinkOwner& link, AtSession& session, int mode);

// AT&F, then a mode-1 read. On success the TA counts as changed and the record is to be
// saved only if the settings file had been loaded at start-up. Returns the read's result.
int ResetAndRead(CKB45mRXObj& record, LinkOwner& link, AtSession& session, int settingsFileLoaded);

}  // namespace m2
