#pragma once
// The application folder: the voice-response engine's installation folder,
// where every file this program works on lives. It is the executable's folder
// unless the command line names another (--app-folder).

#include "platform/Replaceable.h"

#include <QString>

namespace vm::platform {

// The folder, without a trailing separator.
QString appFolder();
// Sets it; a trailing separator is removed. Used by main() and by tests.
void setAppFolder(const QString& folder);

// True when `folder` holds the engine's files (QV.INI or a data folder). The
// executable's folder of an installed copy (/usr/bin) is none, so such a
// copy has to be told where the engine lives.
bool isApplicationFolder(const QString& folder);

// appFolder() + separator + relative, relative given with "/" separators.
QString appPath(const QString& relative);

// The running executable: full path and bare name without extension
// ("RiVaVaz").
QString executablePath();
QString executableName();
// The name the program goes by in its traces and reports: the executable's
// own unless replaced (tests stay independent of the runner's name).
Replaceable<QString>& executableNameSource();

}  // namespace vm::platform
