#include "LogPlacement.h"

#include "platform/FileTrust.h"

#include <QDir>

namespace vm::failsafe {

LogPlace placeLog(const QString& name, const QString& appFolder, const QString& settingsPath)
{
    QString given = name;
    given.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const bool absolute = given.startsWith(QLatin1Char('/'));
    const QString folder = QDir::cleanPath(appFolder);
    const QString path = QDir::cleanPath(absolute ? given : folder + QLatin1Char('/') + given);
    const QString inFolder = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    if (!absolute && (path == folder || path.startsWith(inFolder)))
        return {path, {}};
    // Asked only now, so that a run whose logs stay in the folder asks nothing.
    const std::optional<QString> writers = platform::otherWriters(settingsPath);
    if (!writers)
        return {path, {}};
    return {{},
            (absolute ? QStringLiteral("it is an absolute path and ")
                      : QStringLiteral("it leaves the application folder and ")) +
                *writers};
}

}  // namespace vm::failsafe
