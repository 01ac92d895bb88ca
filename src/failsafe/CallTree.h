#pragma once
// The call tree of an intercepted error, as the error log and the error
// dialog show it: one " : Call" line per frame of the error-time stack, a
// " : Code" line after a frame with a code pointer, the " : Trap" line of the
// error and a " : Error" line per remote frame.
//
//    1 : Call\tfrmVmailCfg.frm : Sub Form_Load : ()
//    2 : Call\t\tfrmVmailCfg.frm : Sub cmdPlayMsg_Click : ()
//    3 : Trap\t\t\tRuntime error 53, File not found

#include "FailSafeState.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace vm::failsafe {

// The depth recorded in slot 0 of the error-time stack copy (0 when none).
int stackCopyDepth(const ErrorRecord& record);

// "Runtime error " + number + ", " + description, + " on line " + line when
// the line is above 0.
QString runtimeErrorText(const ErrorSlot& slot);

// The frame's text in a call line: TABs turned into blanks, cut after the
// first " : " (the depth text) and trimmed.
QString callTextOfEntry(const QString& entry);

// All call-tree lines for the error in `record`; `codePointers` are the
// frames' code pointers (slot = depth).
QStringList callTreeLines(const ErrorRecord& record, const std::array<std::int16_t, kMaxFrames + 1>& codePointers);

}  // namespace vm::failsafe
