#pragma once
// Ids come from files other programs write. Before an Id becomes part of a
// file name, it must not be able to point outside the folder it is meant
// for.

#include <QString>

namespace vm::mailbox {

// False when `part` holds a path separator ("/" or "\"), "..", or any
// control character (NUL included); such a text must never reach a file
// operation. The empty text is safe.
bool isSafeFileNamePart(const QString& part);

}  // namespace vm::mailbox
