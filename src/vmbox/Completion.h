#pragma once
// vmbox complete boxes|messages: the names the shell's completion offers,
// one a line: the box numbers of the list, or the names in data/VmSave/.
// Cheap, and silent about a folder it cannot read.

#include "CommandLine.h"

namespace vm::vmbox {

Handler completeNames;

}  // namespace vm::vmbox
