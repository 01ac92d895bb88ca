#include "FolderLock.h"

#include "FileContent.h"
#include "FileSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QSysInfo>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <csignal>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>

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
        const QByteArray path = nativeName(folder + QLatin1Char('/') + QLatin1String(file.folder));
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

// Whether process `pid` of this host still runs `program`; a process of
// another account whose program cannot be read counts as running it.
bool runs(qint64 pid, const QString& program)
{
    if (pid <= 0 || pid > INT_MAX || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH))
        return false;
    QByteArray exe(PATH_MAX, Qt::Uninitialized);
    const QByteArray link = "/proc/" + QByteArray::number(pid) + "/exe";
    const ssize_t n = ::readlink(link.constData(), exe.data(), static_cast<size_t>(exe.size()));
    if (n <= 0)
        return true;
    exe.truncate(n);
    if (exe.endsWith(" (deleted)"))
        exe.chop(10);
    return program.isEmpty() || QFileInfo(nameText(exe)).fileName() == QFileInfo(program).fileName();
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// The lock file's path through the open folder: its name in bytes then
// needs no text (QLockFile could not write a folder's name that is no UTF-8),
// and a folder renamed meanwhile keeps its lock. Without /proc, the path.
QString lockPath(const QString& folder, int folderFd)
{
    const QString throughFd = QStringLiteral("/proc/self/fd/%1").arg(folderFd);
    return folderFd >= 0 && isFolder(throughFd) ? throughFd + u'/' + FolderLock::fileName()
                                                : QDir(folder).filePath(FolderLock::fileName());
}

}  // namespace

QString FolderLock::fileName() { return QStringLiteral(".VoicemailManager.lock"); }

FolderLock::FolderLock(const QString& folder)
    : folder_(QDir::toNativeSeparators(folder)),
      folderFd_(::open(nativeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
      lock_(lockPath(folder, folderFd_.fd()))
{
    // Age alone never makes a lock stale: a window may stay open for days.
    lock_.setStaleLockTime(0);
}

bool FolderLock::tryLock(std::chrono::milliseconds wait)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point until = Clock::now() + wait;
    // A holder that dies while this one waits is found within the poll.
    constexpr auto kPoll = std::chrono::milliseconds(500);
    for (int removed = 0;;) {
        if (lock_.tryLock(0))
            break;
        if (lock_.error() != QLockFile::LockFailedError)
            return false;
        if (removed < 100 && removeStaleLock()) {
            ++removed;
            continue;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
        if (left.count() <= 0)
            return false;
        if (lock_.tryLock(static_cast<int>(std::min(left, kPoll).count())))
            break;
    }
    ::chmod(nativeName(lock_.fileName()).constData(), 0644);
    removeLeftovers(QDir::fromNativeSeparators(folder_));
    return true;
}

bool FolderLock::removeStaleLock() const
{
    const QByteArray path = nativeName(lock_.fileName());
    const OpenFile file(::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat opened {};
    struct stat named {};
    // The file's own lock: a live holder keeps it, and so does a remover at work.
    if (file.fd() < 0 || ::flock(file.fd(), LOCK_EX | LOCK_NB) != 0 || ::fstat(file.fd(), &opened) != 0)
        return false;
    qint64 pid = 0;
    QString host;
    QString program;
    if (!lock_.getLockInfo(&pid, &host, &program) || host != QSysInfo::machineHostName() || runs(pid, program))
        return false;
    // Still the file that was looked at: a new lock is a new file, and its maker holds it.
    if (::lstat(path.constData(), &named) != 0 || !sameFile(opened, named))
        return false;
    return ::unlink(path.constData()) == 0;
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
