#pragma once
// The start-up load of an application folder (legacy import, merge of the
// list file, removal of the legacy list) with its file deletions held back.
// The load itself only reads; the files it would remove (the greetings of
// boxes the list file no longer lists, then the legacy list) are handed back
// in the order the load meets them. VmbLoadArray removes them at once; a
// caller that must change nothing before it has saved the boxes they held
// removes them afterwards, or not at all.

#include "ListLineParser.h"
#include "LoadProblem.h"
#include "MailboxTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace vm::mailbox {

// The largest list file the load reads: the most boxes the table holds and
// the three lines around them, each as long as the longest line the reader
// takes, with its CR LF. A larger file is refused before it is read; the
// legacy list is held to the same size.
inline constexpr qint64 kLargestListFile = qint64{kMostBoxes + 3} * (kLongestListLine + 2);

// Where the load's run-log texts go; a missing hook drops them.
struct LoadLog {
    std::function<void(const QString&)> runInfo;  // "Loading VMB data begin" / "... end"
    std::function<void(const QString&)> error;    // "VmbLoadArrayLoadXML:<number>:<description>"
};

struct FolderLoad {
    QStringList deletions;  // files to remove, in order; removing one that is gone is no failure
    // Everything of the list files the table did not take, in the order met:
    // a file there but unreadable (too large, an I/O error, no memory to read
    // or load it: only a file that is not there is no file), one in another
    // encoding, one that held
    // bytes but no box, lines too long or malformed, a last line cut off,
    // boxes beyond the most the table holds. The load goes on without them,
    // so a save would lose what they hold.
    std::vector<LoadProblem> problems;

    bool complete() const { return problems.empty(); }
};

// Empties `table` and loads the folder into it. Never raises.
FolderLoad loadMailboxFolder(MailboxTable& table, const LoadLog& log = {});

// The start-up load of a program that removes the files at once: the load,
// then its deletions (a legacy list it could not read is not among them). Hands back what the load could not take.
FolderLoad VmbLoadArray(MailboxTable& table, const LoadLog& log = {});

// Removes each file, ignoring every failure.
void applyDeletions(const QStringList& paths);

// The two loaders on their own; each adds to `load`.
void importLegacyList(MailboxTable& table, FolderLoad& load);
void mergeListFile(MailboxTable& table, FolderLoad& load, const LoadLog& log);

// Each loader in two steps, reading and merging, so that the start-up load
// can read both files before it empties the table: the memory the old
// entries give back then goes straight to the new ones, instead of being
// sorted out by the allocator when a file's large buffer is asked for.
struct FileRead {
    bool found = false;  // the file is there
    QByteArray bytes;
    int errorNumber = 0;  // found but unreadable: the run-time error met
    QString errorDescription;
};
FileRead readLegacyList();
FileRead readListFile();
// The whole of `path` when it is there (a folder only when `folderCounts`),
// up to kLargestListFile bytes. Only a plain file is read: a pipe or device
// would block the start-up, so it counts as unreadable, as does every
// failure but a missing name. Never raises.
FileRead readIfPresent(const QString& path, bool folderCounts);
void importLegacyList(MailboxTable& table, FileRead&& read, FolderLoad& load);

// "cannot be read: DESCRIPTION (error N)", what a load problem says of a
// file it could not read or load.
QString unreadable(int number, const QString& description);
// Runs `step` of a load of `file`: whatever it raises becomes a problem of
// `load` (the step is not whole) and goes no further; false then.
bool noteFailure(FolderLoad& load, const QString& file, const std::function<void()>& step);
void mergeListFile(MailboxTable& table, FileRead&& read, FolderLoad& load, const LoadLog& log);

}  // namespace vm::mailbox
