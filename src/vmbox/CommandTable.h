#pragma once
// Every command of vmbox, once: its words, arguments, options, help and the
// function that runs it. A new command is an entry here and its function.

#include "CommandLine.h"

#include <vector>

namespace vm::vmbox {

// In the order the program's help lists them.
const std::vector<CommandSpec>& commands();

// The options every command takes.
const std::vector<OptionSpec>& globalOptions();

}  // namespace vm::vmbox
