// The start-up load: legacy import, merge of the list file, removal of the
// legacy file. Nothing here stops the program: every failure is ignored or
// only reported to the run log (and handed back to the caller).

#include "FolderLoad.h"
#include "ListLineParser.h"
#include "MailboxMerge.h"
#include "VmMgrStub.h"
#include "VmailLib.h"

#include "config/Paths.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

#include <QFileInfo>

#include <cstring>
#include <utility>

namespace vm {

namespace {

// Calls `each` with every line of the file's bytes. A line ends at CR or CR
// LF; a lone LF belongs to the line (the text rule of ansi::splitLines:
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

void mergeList(MailboxTable& table, const QByteArray& bytes, FolderLoad& load)
{
    MailboxMerge merge(table, MergedFields::All, load.deletions);
    VoicemailBox record;
    WrittenRecord written;
    QString id;  // a written line's Id, in memory kept from line to line
    int lineNumber = 0;
    const auto skipped = [&] {
        if (load.skippedLines++ == 0)
            load.firstSkippedLine = lineNumber;
    };
    forEachLine(bytes, [&](QByteArrayView line) {
        ++lineNumber;
        // Errors are ignored line by line: a bad line is skipped.
        if (line.size() > kLongestListLine)
            return skipped();
        const bool read = ignoreErrors([&] {
            // The program's own lines go straight into their entries.
            if (splitWrittenLine(line, written)) {
                assignText(id, written.id);
                merge.takeInPlace(id, [&](VoicemailBox& entry) { assignWrittenRecord(written, entry); });
                return;
            }
            record = VoicemailBox{};
            if (parseListLine(line, record))
                merge.take(std::move(record));
        });
        if (!read)
            skipped();
    });
    ignoreErrors([&] { merge.finish(); });
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
            raiseError(err::PathFileAccessError);
        read.bytes = fs::readFile(path);
    } catch (const RuntimeError& e) {
        read.errorNumber = e.number();
        read.errorDescription = e.description();
    }
    return read;
}

FileRead readListFile()
{
    const QString path = paths::mailboxList();
    return readFoundFile(path, fs::fileExists(path));
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
        load.unreadable.append(paths::mailboxList() + QStringLiteral(": ") + read.errorDescription);
        return;
    }
    if (log.runInfo)
        log.runInfo(QStringLiteral("Loading VMB data begin"));
    const QByteArray bytes = std::exchange(read.bytes, QByteArray());
    ignoreErrors([&] { mergeList(table, bytes, load); });
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
    ignoreErrors([&] { legacy = readLegacyList(); });
    ignoreErrors([&] { list = readListFile(); });
    ignoreErrors([&] { table.resetToElementZero(); });
    ignoreErrors([&] { importLegacyList(table, std::move(legacy), load); });
    ignoreErrors([&] { mergeListFile(table, std::move(list), load, log); });
    // Removed whether it existed or not: its boxes are in the table now.
    load.deletions.append(paths::legacyMailboxList());
    return load;
}

void applyDeletions(const QStringList& paths)
{
    for (const QString& path : paths)
        ignoreErrors([&] { fs::deleteFile(path); });
}

namespace {

// The run-log hooks are traced procedures: their texts show in the trace.
LoadLog runLog()
{
    return {[](const QString& s) { LogRunInfo(0, s); }, [](const QString& s) { LogError(0, s); }};
}

}  // namespace

int VmbLoadArrayLoadXML()
{
    FolderLoad load;
    mergeListFile(VmbArray(), load, runLog());
    applyDeletions(load.deletions);
    return 0;
}

void VmbLoadArray() { applyDeletions(loadMailboxFolder(VmbArray(), runLog()).deletions); }

}  // namespace vm
