// The start-up load: legacy import, merge of the list file, removal of the
// legacy file. Nothing here stops the program: every failure is ignored or
// only reported to the run log, and handed back to the caller when it cost
// the table anything.

#include "FolderLoad.h"
#include "ListLineParser.h"
#include "MailboxMerge.h"

#include "config/Paths.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

#include <QLocale>

#include <sys/stat.h>

#include <cstring>
#include <exception>
#include <utility>

namespace vm::mailbox {

namespace {

// Calls `each` with every line of the file's bytes. A line ends at CR or CR
// LF; a lone LF belongs to the line (the text rule of platform::splitLines:
// windows-1252 keeps CR and LF as single bytes, so it holds for the bytes).
// The list is parsed without decoding it whole: only values are decoded.
template <class Each>
void forEachLine(QByteArrayView bytes, Each&& each)
{
    const char* data = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    while (start < n) {
        const void* cr = std::memchr(data + start, '\r', static_cast<std::size_t>(n - start));
        const qsizetype end = cr ? static_cast<const char*>(cr) - data : n;
        each(bytes.sliced(start, end - start));
        start = end + 1;
        if (start < n && data[start] == '\n')
            ++start;
    }
}

// Lines the reader had to leave out for one reason: how many, and where the first was.
struct LeftOut {
    int lines = 0;
    int firstLine = 0;
    qint64 firstOffset = -1;

    void note(int line, qint64 offset)
    {
        if (lines++ == 0) {
            firstLine = line;
            firstOffset = offset;
        }
    }
    void report(FolderLoad& load, const QString& one, const QString& many) const
    {
        if (lines > 0)
            load.problems.push_back(
                {config::mailboxList(), lines == 1 ? one : many.arg(lines), firstLine, firstOffset});
    }
};

bool containsIgnoringCase(QByteArrayView line, const char* text) { return line.toByteArray().toLower().contains(text); }

// Lines that hold no box by design: the declaration, the root element, a
// comment, a blank entry as the writer writes it, an empty line.
bool holdsNoBoxByDesign(QByteArrayView line)
{
    const QByteArray text = line.toByteArray().trimmed().toLower();
    return text.isEmpty() || text.startsWith("<?xml") || text.startsWith("<!--") || text == "<voicemailboxes>" ||
           text == "</voicemailboxes>" || text == "<voicemailboxes/>" || text.contains("voicemailbox id=\"\"");
}

void mergeList(MailboxTable& table, const QByteArray& bytes, FolderLoad& load)
{
    const QString path = config::mailboxList();
    if (const auto problem = encodingProblem(path, bytes))
        load.problems.push_back(*problem);
    MailboxMerge merge(table, MergedFields::All, load.deletions);
    QString id;  // a line's Id, in memory kept from line to line
    int lineNumber = 0;
    int boxes = 0;
    LeftOut tooLong;
    LeftOut unreadableLines;
    LeftOut beyondTable;
    LeftOut noBoxLines;
    QByteArrayView lastLine;
    forEachLine(bytes, [&](QByteArrayView line) {
        ++lineNumber;
        lastLine = line;
        const qint64 offset = line.data() - bytes.constData();
        // Errors are ignored line by line: a bad line is skipped.
        if (line.size() > kLongestListLine)
            return tooLong.note(lineNumber, offset);
        const bool taken = platform::ignoreErrorsButMemory([&] {
            const ListLine parsed(line);
            if (parsed.holdsBox()) {
                // Straight into the entry: texts reuse the memory it has.
                assignText(id, parsed.id());
                merge.takeInPlace(id, [&](VoicemailBox& entry) { parsed.assignTo(entry); });
                ++boxes;
            } else if (!holdsNoBoxByDesign(line)) {
                noBoxLines.note(lineNumber, offset);
            }
        });
        if (!taken)
            (table.upperBound() >= kMostBoxes ? beyondTable : unreadableLines).note(lineNumber, offset);
    });
    platform::ignoreErrorsButMemory([&] { merge.finish(); });

    if (boxes == 0 && noBoxLines.lines > 0)
        load.problems.push_back(
            {path, QStringLiteral("holds %1 bytes but not one box line the reader can take").arg(bytes.size()),
             noBoxLines.firstLine, noBoxLines.firstOffset});
    tooLong.report(load, QStringLiteral("a line longer than 32,767 characters cannot be read"),
                   QStringLiteral("%1 lines longer than 32,767 characters cannot be read, the first"));
    unreadableLines.report(load, QStringLiteral("a line cannot be read"),
                           QStringLiteral("%1 lines cannot be read, the first"));
    beyondTable.report(load, QStringLiteral("a box beyond the 32,767 the table holds is left out"),
                       QStringLiteral("%1 boxes beyond the 32,767 the table holds are left out, the first"));
    // The writer ends every line with CR LF: a box line without its end tag
    // and line end at the very end of the file is what a cut-off copy leaves.
    // (A last line too long to read is told above, and never copied to be looked at.)
    const bool lastLineEnded = !bytes.isEmpty() && (bytes.back() == '\r' || bytes.back() == '\n');
    if (!bytes.isEmpty() && !lastLineEnded && lastLine.size() <= kLongestListLine &&
        containsIgnoringCase(lastLine, "voicemailbox id=\"") &&
        !lastLine.toByteArray().trimmed().toLower().endsWith("</voicemailbox>"))
        load.problems.push_back({path,
                                 QStringLiteral("its last line ends in the middle of a box: the file was cut off"),
                                 lineNumber, lastLine.data() - bytes.constData()});
}

}  // namespace

QString unreadable(int number, const QString& description)
{
    return QStringLiteral("cannot be read: %1 (error %2)").arg(description).arg(number);
}

bool noteFailure(FolderLoad& load, const QString& file, const std::function<void()>& step)
{
    try {
        step();
        return true;
    } catch (...) {
        // The next step runs all the same, but the table is not what the file holds.
        const platform::RuntimeError e = platform::toRuntimeError(std::current_exception());
        load.problems.push_back({file, unreadable(e.number(), e.description())});
        return false;
    }
}

FileRead readIfPresent(const QString& path, bool folderCounts)
{
    FileRead read;
    try {
        const std::optional<struct stat> status = platform::statIfPresent(path);
        read.found = status && (folderCounts || !S_ISDIR(status->st_mode));
        if (!read.found)
            return read;
        if (status->st_size > kLargestListFile) {
            const QLocale english(QLocale::English);
            throw platform::RuntimeError(
                platform::err::PathFileAccessError,
                QStringLiteral("it holds %1 bytes; the largest list read is %2 bytes (%3 boxes of %4 characters)")
                    .arg(english.toString(qint64{status->st_size}), english.toString(kLargestListFile),
                         english.toString(kMostBoxes), english.toString(kLongestListLine)));
        }
        read.bytes = platform::readFile(path, kLargestListFile);
    } catch (...) {
        read.found = true;
        read.bytes = QByteArray();
        const platform::RuntimeError e = platform::toRuntimeError(std::current_exception());
        read.errorNumber = e.number();
        read.errorDescription = e.description();
    }
    return read;
}

FileRead readListFile() { return readIfPresent(config::mailboxList(), false); }

void mergeListFile(MailboxTable& table, FileRead&& read, FolderLoad& load, const LoadLog& log)
{
    if (!read.found)
        return;
    if (read.errorNumber != 0) {
        // Found but unreadable: report it and leave the table as it is.
        if (log.error)
            log.error(QStringLiteral("VmbLoadArrayLoadXML:") + QString::number(read.errorNumber) + QLatin1Char(':') +
                      read.errorDescription);
        load.problems.push_back({config::mailboxList(), unreadable(read.errorNumber, read.errorDescription)});
        return;
    }
    if (log.runInfo)
        log.runInfo(QStringLiteral("Loading VMB data begin"));
    const QByteArray bytes = std::exchange(read.bytes, QByteArray());
    noteFailure(load, config::mailboxList(), [&] { mergeList(table, bytes, load); });
    if (log.runInfo)
        log.runInfo(QStringLiteral("Loading VMB data end"));
}

void mergeListFile(MailboxTable& table, FolderLoad& load, const LoadLog& log)
{
    mergeListFile(table, readListFile(), load, log);
}

FolderLoad loadMailboxFolder(MailboxTable& table, const LoadLog& log)
{
    FolderLoad load;
    FileRead legacy = readLegacyList();
    FileRead list = readListFile();
    // A legacy list that could not be read stays: its boxes are nowhere else.
    bool legacyTaken = legacy.errorNumber == 0;
    noteFailure(load, config::mailboxList(), [&] { table.resetToElementZero(); });
    legacyTaken = noteFailure(load, config::legacyMailboxList(),
                              [&] { importLegacyList(table, std::move(legacy), load); }) &&
                  legacyTaken;
    noteFailure(load, config::mailboxList(), [&] { mergeListFile(table, std::move(list), load, log); });
    // Otherwise removed whether it existed or not: its boxes are in the table now.
    if (legacyTaken)
        load.deletions.append(config::legacyMailboxList());
    return load;
}

void applyDeletions(const QStringList& paths)
{
    for (const QString& path : paths)
        platform::ignoreErrors([&] { platform::deleteFile(path); });
}

FolderLoad VmbLoadArray(MailboxTable& table, const LoadLog& log)
{
    FolderLoad load = loadMailboxFolder(table, log);
    applyDeletions(load.deletions);
    load.deletions.clear();
    return load;
}

}  // namespace vm::mailbox
