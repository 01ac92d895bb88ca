#pragma once
// Where the window works when the command line names no folder. The program
// belongs in the engine's folder and then works there; an installed copy
// lives in a system folder (/usr/bin) that holds none of the engine's files.
// Such a copy works on the folder chosen last time, or asks the operator for
// one and remembers it.

#include "CommandLine.h"

namespace vm::app {

// Makes the application folder the one to work on. False when there is none:
// the operator cancelled the choice, or nobody is there to ask (`interactive`
// false); a line saying so has then gone to standard error.
bool settleAppFolder(const Options& options, bool interactive);

}  // namespace vm::app
