#pragma once
// A copy of a file kept beside it before the file is replaced: a new file
// that nothing later overwrites, readable by no more accounts than the
// original.

#include <QString>

namespace vm::platform {

// Copies the regular file `path` to a new file in the same folder named
// path + "." + stamp + "." + reason, or, when that name is taken,
// path + "." + stamp + "-2." + reason, "-3", and so on; returns the copy's
// path. The copy is created exclusively (never over anything, a link
// included) and private until it has the original's permission bits and,
// for root, its owner and group; where the group cannot be kept, the group's
// bits are dropped. The content is flushed to disk before the call returns.
// Refuses (75) a path the file layer would not write; a failure part-way
// removes the copy again and raises the run-time error met.
QString keepCopy(const QString& path, const QString& stamp, const QString& reason);

}  // namespace vm::platform
