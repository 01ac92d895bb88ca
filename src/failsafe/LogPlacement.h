#pragma once
// Where the logs named in FSCLIENT.INI may be written. The application folder
// is shared with the engine's account, so a name read from the settings file
// leads out of the folder only when no other account could have written that
// file.

#include <QString>

#include <functional>
#include <optional>

namespace vm::failsafe {

struct LogPlace {
    QString path;     // where the log goes; empty when it is refused
    QString refusal;  // why it is refused, in plain words; empty when it is not
};

// Runs `read`, the reading of the settings file at `path`, and says why an
// account other than the running one could have chosen what it read: the
// file is missing, a link or not a regular file, belongs to another account,
// may be written by group or others, or was replaced while it was read.
// Nothing when only the running account could have written it.
std::optional<QString> readOpenToOthers(const QString& path, const std::function<void()>& read);

// Places a log name. "\" separates folders as "/" does; a relative name is
// taken in the application folder and has to stay in it once ".." is
// resolved. A name that leaves the folder, or an absolute one, is taken only
// when the settings file is the running account's alone (`settingsOpen`
// empty); otherwise it is refused, saying why.
LogPlace placeLog(const QString& name, const QString& appFolder, const std::optional<QString>& settingsOpen);

}  // namespace vm::failsafe
