#pragma once
// vmbox, the command-line companion of the Voicemail Manager window: bulk
// administration of an application folder's voicemail boxes (list, CSV
// export and import, add, set, delete, greeting) on the same store as the
// window, writing the same list file byte for byte.

#include <QIODevice>
#include <QStringList>

namespace vm::vmbox {

// Runs one command line (without the program's name): results to `out`,
// errors as lines "vmbox: ..." to `err`. Returns the exit status: 0 done,
// 1 bad data or a failed file operation, 2 bad usage.
int runVmbox(const QStringList& arguments, QIODevice& out, QIODevice& err);

}  // namespace vm::vmbox
