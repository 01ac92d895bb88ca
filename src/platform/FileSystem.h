#pragma once
// The file operations the program needs, with the failures of the original
// platform: each raises the matching run-time error (missing file 53,
// missing folder 76, no permission 70, disk full 61, ...).

#include "platform/FileContent.h"
#include "platform/NativeName.h"
#include "platform/Replaceable.h"
#include "platform/RuntimeError.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <optional>

namespace vm::platform {

// True when a directory lookup of exactly this path finds a file: folders and
// hidden files (names beginning with ".") are not found. Never raises.
bool fileExists(const QString& path);

// The status of what `path` names (links followed), or nothing when nothing
// is there (no such name, or a part of the path that is no folder). Any
// other failure of the lookup (an I/O error, no permission to search a
// folder, no memory) raises its error: a file that cannot be looked at is
// not a missing one.
std::optional<struct stat> statIfPresent(const QString& path);

// Whether `path` leads to a folder (links followed). Never raises.
bool isFolder(const QString& path);

// Whether the name `path` itself is there: a link that points nowhere counts.
// Never raises.
bool existsAtName(const QString& path);

// The path with every link followed and no "." or ".." left (realpath);
// empty when some part of it is missing or cannot be read. Never raises.
QString realPath(const QString& path);

// Where a write of `path` would really write: every link followed, a last
// one that points nowhere yet included, no "." or ".." left (as far as the
// folders exist). Never raises.
QString realPathForWrite(const QString& path);

// Whether a file name matches `pattern` as the original platform's
// directory listings match: "*" any run, "?" one character, letter case
// ignored.
bool matchesPattern(const QString& name, const QString& pattern);

// Writing. The program writes only regular files, and on the way to one it
// follows a symbolic link only when root or the running account made it: the
// shared folder may be written by another account (the engine's), and a link
// planted there must not turn the operator's write into a write elsewhere.
// Every write below refuses such a path with run-time error 75, whose
// description says which link or file is in the way.

// Why this program may not write `path`, or nothing: a link on the way that
// another account made, or something there that is no regular file (a
// folder, FIFO or device). A missing file or folder is no refusal here (the
// write itself then fails as usual). Never raises.
std::optional<QString> writeRefusal(const QString& path);

// Creates `path` as a new file holding `content`. Never over an existing
// name: when anything is there already, a link included, raises 58 and
// touches nothing. A write that fails part-way removes the new file again.
void createNewFile(const QString& path, const FileContent& content);
// The same with the content of the regular file `from` (read through links),
// copied in pieces.
void copyToNewFile(const QString& from, const QString& to);

void deleteFile(const QString& path);
std::int64_t fileSize(const QString& path);
QDateTime lastWriteTime(const QString& path);  // local time

// Bytes available to the calling user on the volume holding `path`;
// 0 when the query fails (the program never checks that call's result).
std::uint64_t freeBytesForCaller(const QString& path);

// The whole of a regular file (through links: reading is harmless). Anything
// else (a FIFO or device, which could block or never end) raises 75, and so
// does a file of more than `maxBytes` when a limit is given.
QByteArray readFile(const QString& path, std::int64_t maxBytes = -1);

// The whole of `path` as readFile reads it, or nothing when no file is there
// (statIfPresent finds nothing, or a folder). Every other failure raises:
// its description then begins with the path.
std::optional<QByteArray> readFileIfPresent(const QString& path, std::int64_t maxBytes = -1);

// Creates or appends; on failure the part of `bytes` that reached the file
// is taken back, so the earlier content stays as it was.
void appendFile(const QString& path, const QByteArray& bytes);

// Replaces `path` with `bytes` so that a reader sees either the old file or
// the complete new one, never a part: the content goes to a temporary file in
// the same folder, is flushed to disk and is then renamed over `path`.
// - The new file gets the old one's mode, owner and group before it takes
//   the old one's place (the engine may read the file through its group).
//   Where the system refuses the owner or group, raises 70 naming them and
//   the reason; the old file stays as it was.
// - A link at `path` that may be followed (above) is replaced at its target,
//   in the target's folder; the link stays.
// On failure the temporary file is removed and the old file is untouched.
// An existing file that may not be written (read-only) raises 70.
void replaceFileAtomically(const QString& path, const FileContent& content);

// The two halves of replaceFileAtomically, for a caller that has more to do
// between them and must be able to stop with nothing replaced: stage writes
// the temporary file (mode, owner and group already the old file's), commit
// renames it over its target, discard removes it. Each refuses and fails as
// replaceFileAtomically does; a failed commit removes the temporary file.
struct StagedFile {
    QString temporary;
    QString target;  // the file that is replaced: `path` with any link on the way followed
    QString path;    // as given, for messages
};
StagedFile stageReplacement(const QString& path, const FileContent& content);
void commitReplacement(const StagedFile& staged);
void discardReplacement(const StagedFile& staged);

// Takes `path` (a link itself, not its target) out of the way under a fresh
// hidden name beside it, ".NAME.XXXXXX", and returns that name, so that it
// can be put back with renameFile or removed for good.
QString moveAside(const QString& path);
// Renames `from` to `to`, replacing what `to` names.
void renameFile(const QString& from, const QString& to);

// Renames `from` to `to` only when nothing (not even a link) is at `to`:
// then raises 58 and changes nothing. Atomic: renameat2 with
// RENAME_NOREPLACE, or where the file system lacks it a hard link at `to`
// and then `from` removed. The file keeps its times.
void renameNoReplace(const QString& from, const QString& to);

// Sets the last-write time (local) of the file at `path`, never through a
// link at that name.
void setLastWriteTime(const QString& path, const QDateTime& time);

// Why the name `path` itself is no regular file ("PATH is a FIFO, not a
// regular file"; a link there is a link, not followed), or nothing. Raises
// the error of a missing name.
std::optional<QString> notRegularAtName(const QString& path);

// The regular file named `path` itself, opened for reading: a link at that
// name is refused (75), not followed, and so is a folder, FIFO, device or
// socket. `status` receives the opened file's status.
OpenFile openRegularAtName(const QString& path, struct stat& status);

// The whole of the regular file named `path` itself, opened as above; one of
// more than `maxBytes` (when given) is refused (75) before it is read.
// `status` (when given) receives the opened file's status.
QByteArray readFileAtName(const QString& path, struct stat* status = nullptr, std::int64_t maxBytes = -1);

// What a file of `mode` is, in words for a message ("a FIFO", "a symbolic
// link", ...); "" for a regular file.
QString fileKind(mode_t mode);

// Maps an errno value of a failed call on `path` to its run-time error.
[[noreturn]] void raiseForErrno(int errnoValue, const QString& path);

// `error` with a description that begins with the file it happened to:
// "PATH: Disk full". One that names it already is returned as it is.
RuntimeError namingFile(const RuntimeError& error, const QString& path);

// Opens `path` for reading and writing at chosen offsets, creating it when
// missing; returns the descriptor, which the caller closes. Refuses what the
// writes above refuse.
int openForUpdate(const QString& path);
// Writes all of `bytes` at `offset` of an open file; `path` names it in the
// error raised on failure.
void writeAt(int fd, const QString& path, QByteArrayView bytes, std::int64_t offset);

// The system calls the layer is built on, in one replaceable object, so that
// a test can make a chosen call fail on a chosen file the way the system
// would (set errno, return -1) or act on the file itself first. Each member
// behaves as the system call of its name; paths are native byte strings.
class FileOps {
public:
    virtual ~FileOps() = default;
    virtual int open(const char* path, int flags, mode_t mode) const;
    virtual int makeTemporary(char* pathTemplate) const;  // mkstemp
    virtual ssize_t read(int fd, void* buffer, size_t count) const;
    virtual ssize_t write(int fd, const void* bytes, size_t count) const;
    virtual ssize_t writeAt(int fd, const void* bytes, size_t count, off_t offset) const;  // pwrite
    virtual int sync(int fd) const;                                                        // fsync
    virtual int rename(const char* from, const char* to) const;
    virtual int stat(const char* path, struct stat* status) const;
    virtual int statAt(int folderFd, const char* name, struct stat* status) const;  // fstatat
    virtual int unlink(const char* path) const;
    virtual int changeOwner(int fd, uid_t owner, gid_t group) const;              // fchown
    virtual int link(const char* from, const char* to) const;                     // linkat, following a link at `from`
    virtual int statName(const char* path, struct stat* status) const;            // lstat: a link itself
    virtual int statOpen(int fd, struct stat* status) const;                      // fstat
    virtual ssize_t readLink(const char* path, char* buffer, size_t size) const;  // readlink
    virtual int renameNoReplace(const char* from, const char* to) const;          // renameat2 with RENAME_NOREPLACE
    virtual int hardLink(const char* from, const char* to) const;              // link: a link at `from` is not followed
    virtual int setTimes(const char* path, const timespec times[2]) const;     // utimensat, not through a link
    virtual int changeMode(int fd, mode_t mode) const;                         // fchmod
    virtual int truncate(int fd, off_t length) const;                          // ftruncate
    virtual int mayWrite(const char* path) const;                              // access(W_OK)
    virtual int volumeStatus(const char* path, struct statvfs* status) const;  // statvfs
};

// The calls in force: the real ones unless a test has replaced them.
Replaceable<const FileOps*>& fileOps();

}  // namespace vm::platform
