#pragma once
// Temporary stand-in for the file layer's write check until it lands in
// FileSystem.h; same declaration, so callers need no change then.

#include <QByteArray>
#include <QString>

#include <optional>

namespace vm::fs {

// Why the program may not write `path`, or nothing when it may.
std::optional<QString> writeRefusal(const QString& path);

// Creates `path` as a new file holding `bytes`, never over an existing name.
void createNewFile(const QString& path, const QByteArray& bytes);

}  // namespace vm::fs
