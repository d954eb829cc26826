#pragma once
// The write transactions behind each property sheet's "更新": every setting of the sheet
// as one command, in a fixed order, whether it changed or not. The first command that
// fails (the engine has shown its message) ends the transaction; commands the TA already
// accepted stay. Only a transaction that completes marks the TA as changed. A command built
// from a damaged setting (a control byte in a text, a value out of its range) is refused
// before anything is sent, with message 9, and fails the transaction the same way.
//
// Each returns 1 when every command succeeded, else 0.
#include "settings/settings_record.h"
#include "settings/write_commands.h"

namespace m2 {

class LinkOwner;

// Not one of the numbered messages: its text is the table's default row. Raised when a
// setting is too long for the command field (only a damaged settings file can hold one).
inline constexpr int kCommandTooLong = 12;

int WriteAnalogSheet(LinkOwner& link, CKB45mRXObj& record, const AnalogPortSettings& tel1,
                     const AnalogPortSettings& tel2, const PortCommonSettings& common);
int WriteFlexSheet(LinkOwner& link, CKB45mRXObj& record, int port, const FlexphoneSettings& flex);
// Between E and X the page's result-code use and form become the modes the link gives
// back to the TA when it leaves it; no command carries them.
int WriteDataSheet(LinkOwner& link, CKB45mRXObj& record, const DataPortSettings& gen,
                   const DataFlowSettings& flow, const DataAtSettings& at);
int WriteNumberSheet(LinkOwner& link, CKB45mRXObj& record, const NumberLists& lists);

// AT&W0 in lenient mode. quietTa: the TA has just been given back its quiet mode (ATQ1), so
// silence is its answer. 0 when the TA answered an error or, not quiet, nothing at all (the
// engine has shown its message); else 1.
int StoreInTa(LinkOwner& link, bool quietTa = false);

}  // namespace m2
