#include "FolderLock.h"

#include <QDir>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

namespace vm::platform {

namespace {

struct ReplacedFile {
    const char* folder;  // below the application folder; "" for its root
    const char* name;
};
constexpr ReplacedFile kReplacedFiles[] = {{"data", "VmBoxList.xml"}, {"", "QV.INI"}, {"", "VmEmailForwardBody.txt"}};

// ".NAME." and the six letters or digits mkstemp puts in place of XXXXXX.
bool isTemporaryOf(const char* entry, const char* name)
{
    const QByteArray prefix = QByteArray(".") + name + '.';
    const QByteArray candidate(entry);
    return candidate.size() == prefix.size() + 6 && candidate.startsWith(prefix) &&
           std::all_of(candidate.end() - 6, candidate.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

void removeLeftovers(const QString& folder)
{
    for (const ReplacedFile& file : kReplacedFiles) {
        const QByteArray path = QFile::encodeName(folder + QLatin1Char('/') + QLatin1String(file.folder));
        const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        DIR* dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
        if (!dir) {
            if (fd >= 0)
                ::close(fd);
            continue;
        }
        while (const dirent* entry = ::readdir(dir)) {
            struct stat st {};
            if (isTemporaryOf(entry->d_name, file.name) &&
                ::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode)))
                ::unlinkat(fd, entry->d_name, 0);
        }
        ::closedir(dir);
    }
}

}  // namespace

QString FolderLock::fileName() { return QStringLiteral(".VoicemailManager.lock"); }

FolderLock::FolderLock(const QString& folder)
    : folder_(QDir::toNativeSeparators(folder)), lock_(QDir(folder).filePath(fileName()))
{
    // Age alone never makes a lock stale: a window may stay open for days.
    lock_.setStaleLockTime(0);
}

bool FolderLock::tryLock(std::chrono::milliseconds wait)
{
    if (!lock_.tryLock(static_cast<int>(wait.count())))
        return false;
    removeLeftovers(QDir::fromNativeSeparators(folder_));
    return true;
}

QString FolderLock::refusal() const
{
    switch (lock_.error()) {
        case QLockFile::LockFailedError: {
            qint64 pid = 0;
            QString host;
            QString program;
            if (!lock_.getLockInfo(&pid, &host, &program))
                return QStringLiteral("The application folder %1 is in use by another program.").arg(folder_);
            return QStringLiteral("The application folder %1 is in use by %2 (process %3 on host %4).")
                .arg(folder_, program.isEmpty() ? QStringLiteral("another program") : program)
                .arg(pid)
                .arg(host);
        }
        case QLockFile::PermissionError:
            return QStringLiteral("The application folder %1 cannot be locked: no permission to create %2 in it.")
                .arg(folder_, fileName());
        default:
            return QStringLiteral("The application folder %1 cannot be locked: %2 could not be created.")
                .arg(folder_, fileName());
    }
}

}  // namespace vm::platform
