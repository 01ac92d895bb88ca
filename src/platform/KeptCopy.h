#pragma once
// A copy of a file kept beside it before the file is replaced: a new name
// that nothing later overwrites, readable by no more accounts than the
// original. The program replaces its files by renaming a new one over the
// old, so the kept copy is a second name of the old file where it can be:
// a large file is then kept without a byte copied, holes and all.

#include <QString>

namespace vm::platform {

// Keeps the regular file `path` (a link there followed) under a new name in
// the same folder: path + "." + stamp + "." + reason, or, when that name is
// taken, path + "." + stamp + "-2." + reason, "-3", and so on; returns the
// copy's path. The new name is a hard link to the file where the system
// allows one (never over anything, a link included). Elsewhere (another
// file system behind a link, no hard links there, or not allowed) it is a
// new file, created exclusively and private until it has the original's
// permission bits and, for root, its owner and group; where the group cannot
// be kept, the group's bits are dropped. Its content is copied in pieces,
// holes kept, and flushed to disk before the call returns. Refuses (75) a
// path the file layer would not write; a failure part-way removes the copy
// again and raises the run-time error met.
QString keepCopy(const QString& path, const QString& stamp, const QString& reason);

}  // namespace vm::platform
