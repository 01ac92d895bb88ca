#pragma once
// Who else could change a file: the question to ask before acting on what
// the file says with more rights than its writers have (root starting the
// program a shared settings file names, say).

#include <QString>

#include <optional>

namespace vm::platform {

// Who besides the running account (and root) could change the file at
// `path`: its owner when that is another account, its group or everybody
// when they may write it, and the same of its folder, whose writers can put
// another file in its place. In plain words naming the account or group and
// the file or folder; nothing when nobody else can. A file that cannot be
// looked at counts as changeable by anybody; for a file that is not there,
// only its folder is asked. Never raises.
std::optional<QString> otherWriters(const QString& path);

}  // namespace vm::platform
