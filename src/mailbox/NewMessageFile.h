#pragma once
// A new message file that never takes the place of another. Two recordings
// for one box in the same second would get the same name, and the engine
// may have written a message of that name already: the new file takes the
// next free second of its stamp instead.

#include "platform/FileContent.h"

#include <QDateTime>
#include <QString>

#include <functional>

namespace vm::mailbox {

// Creates a file holding `content` in `folder` (ending in "/"), named by
// `nameAt` for `moment` or, when anything is at that name (a file, a link),
// for the first later second whose name is free. Returns its path. Raises 58
// when an hour of seconds is taken, and every other file error as it comes.
QString createMessageFile(const QString& folder, const std::function<QString(const QDateTime&)>& nameAt,
                          const QDateTime& moment, const platform::FileContent& content);

}  // namespace vm::mailbox
