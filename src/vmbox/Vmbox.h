#pragma once
// vmbox, the command-line companion of the Voicemail Manager window: bulk
// administration of an application folder's voicemail boxes (list, CSV
// export and import, add, set, delete, greeting; the messages and their
// statistics) on the same store as the
// window, writing the same list file byte for byte.

#include <QIODevice>
#include <QStringList>

namespace vm::vmbox {

// Runs one command line (without the program's name): results to `out`,
// errors and progress as lines "vmbox: ..." to `err`, a file named "-"
// read from `in` (none: the process's standard input). Returns the exit
// status: 0 done, 1 bad data or a failed file operation, 2 bad usage.
int runVmbox(const QStringList& arguments, QIODevice& out, QIODevice& err, QIODevice* in = nullptr);

}  // namespace vm::vmbox
