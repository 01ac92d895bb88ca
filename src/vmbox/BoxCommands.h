#pragma once
// vmbox's commands on boxes: list, export, import, add, set, delete and
// greeting, on the mailbox store the window uses.

#include "CommandLine.h"

#include <QByteArray>

namespace vm::vmbox {

Handler listBoxes;
Handler exportBoxes;
Handler importBoxes;
Handler addBox;
Handler setBox;
Handler deleteBox;
Handler installGreeting;

// A file read whole, at most 64 MiB: `file`, or `in` when it is "-". A
// failure is told naming the file (or standard input), status 1.
QByteArray readInput(const QString& file, QIODevice& in);

}  // namespace vm::vmbox
