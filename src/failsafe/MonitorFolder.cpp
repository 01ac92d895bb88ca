#include "MonitorFolder.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace vm::failsafe {

namespace {

bool privateFolder(const QString& path)
{
    struct stat st {};
    return !path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::geteuid() && (st.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

}  // namespace

std::optional<QString> monitorFolder(MakeFolder make)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && privateFolder(runtime))
        return QDir::cleanPath(runtime);
    const QString own = QDir::tempPath() + QStringLiteral("/fsmonitor-") + QString::number(::geteuid());
    // mkdir makes no folder through a link; whatever stands at the name is
    // checked below, so a folder another account made first is not used.
    if (make == MakeFolder::Yes)
        (void)::mkdir(QFile::encodeName(own).constData(), 0700);
    if (privateFolder(own))
        return own;
    return std::nullopt;
}

}  // namespace vm::failsafe
