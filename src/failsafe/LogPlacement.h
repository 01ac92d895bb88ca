#pragma once
// Where the logs named in FSCLIENT.INI may be written. The application folder
// is shared with the engine's account, so a name read from the settings file
// leads out of the folder only when no other account could have written that
// file.

#include <QString>

namespace vm::failsafe {

struct LogPlace {
    QString path;     // where the log goes; empty when it is refused
    QString refusal;  // why it is refused, in plain words; empty when it is not
};

// Places a log name. "\" separates folders as "/" does; a relative name is
// taken in the application folder and has to stay in it once ".." is
// resolved. A name that leaves the folder, or an absolute one, is taken only
// when no account but the running one (and root) could have written the
// settings file at `settingsPath`; otherwise it is refused, saying who could.
LogPlace placeLog(const QString& name, const QString& appFolder, const QString& settingsPath);

}  // namespace vm::failsafe
