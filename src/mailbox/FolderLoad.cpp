// The start-up load: legacy import, merge of the list file, removal of the
// legacy file. Nothing here stops the program: every failure is ignored or
// only reported to the run log (and handed back to the caller).

#include "FolderLoad.h"
#include "ListLineParser.h"
#include "MailboxMerge.h"

#include "config/Paths.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

#include <QFileInfo>

#include <cstring>
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
    LeftOut unreadable;
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
        try {
            const ListLine parsed(line);
            if (parsed.holdsBox()) {
                // Straight into the entry: texts reuse the memory it has.
                assignText(id, parsed.id());
                merge.takeInPlace(id, [&](VoicemailBox& entry) { parsed.assignTo(entry); });
                ++boxes;
            } else if (!holdsNoBoxByDesign(line)) {
                noBoxLines.note(lineNumber, offset);
            }
        } catch (...) {
            (table.upperBound() >= kMostBoxes ? beyondTable : unreadable).note(lineNumber, offset);
        }
    });
    platform::ignoreErrors([&] { merge.finish(); });

    if (boxes == 0 && noBoxLines.lines > 0)
        load.problems.push_back(
            {path, QStringLiteral("holds %1 bytes but not one box line the reader can take").arg(bytes.size()),
             noBoxLines.firstLine, noBoxLines.firstOffset});
    tooLong.report(load, QStringLiteral("a line longer than 32,767 characters cannot be read"),
                   QStringLiteral("%1 lines longer than 32,767 characters cannot be read, the first"));
    unreadable.report(load, QStringLiteral("a line cannot be read"),
                      QStringLiteral("%1 lines cannot be read, the first"));
    beyondTable.report(load, QStringLiteral("a box beyond the 32,767 the table holds is left out"),
                       QStringLiteral("%1 boxes beyond the 32,767 the table holds are left out, the first"));
    // The writer ends every line with CR LF: a box line without its end tag
    // and line end at the very end of the file is what a cut-off copy leaves.
    const bool lastLineEnded = !bytes.isEmpty() && (bytes.back() == '\r' || bytes.back() == '\n');
    if (!bytes.isEmpty() && !lastLineEnded && containsIgnoringCase(lastLine, "voicemailbox id=\"") &&
        !lastLine.toByteArray().trimmed().toLower().endsWith("</voicemailbox>"))
        load.problems.push_back({path,
                                 QStringLiteral("its last line ends in the middle of a box: the file was cut off"),
                                 lineNumber, lastLine.data() - bytes.constData()});
}

}  // namespace

FileRead readFoundFile(const QString& path, bool found)
{
    FileRead read;
    read.found = found;
    if (!found)
        return read;
    try {
        if (!QFileInfo(path).isFile())
            platform::raiseError(platform::err::PathFileAccessError);
        read.bytes = platform::readFile(path);
    } catch (const platform::RuntimeError& e) {
        read.errorNumber = e.number();
        read.errorDescription = e.description();
    }
    return read;
}

FileRead readListFile()
{
    const QString path = config::mailboxList();
    return readFoundFile(path, platform::fileExists(path));
}

void mergeListFile(MailboxTable& table, FileRead&& read, FolderLoad& load, const LoadLog& log)
{
    if (!read.found)
        return;
    if (read.errorNumber != 0) {
        // Found but unreadable: report it and leave the table as it is.
        if (log.error)
            log.error(QStringLiteral("VmbLoadArrayLoadXML:") + QString::number(read.errorNumber) + QLatin1Char(':') +
                      read.errorDescription);
        load.problems.push_back({config::mailboxList(), QStringLiteral("cannot be read: ") + read.errorDescription});
        return;
    }
    if (log.runInfo)
        log.runInfo(QStringLiteral("Loading VMB data begin"));
    const QByteArray bytes = std::exchange(read.bytes, QByteArray());
    platform::ignoreErrors([&] { mergeList(table, bytes, load); });
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
    FileRead legacy;
    FileRead list;
    platform::ignoreErrors([&] { legacy = readLegacyList(); });
    platform::ignoreErrors([&] { list = readListFile(); });
    platform::ignoreErrors([&] { table.resetToElementZero(); });
    platform::ignoreErrors([&] { importLegacyList(table, std::move(legacy), load); });
    platform::ignoreErrors([&] { mergeListFile(table, std::move(list), load, log); });
    // Removed whether it existed or not: its boxes are in the table now.
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
