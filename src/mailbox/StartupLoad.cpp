// The start-up load: legacy import, merge of the list file, removal of the
// legacy file. Nothing here stops the program: every failure is ignored or
// only reported to the run log.

#include "ListLineParser.h"
#include "MailboxMerge.h"
#include "VmMgrStub.h"
#include "VmailLib.h"

#include "config/Paths.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

#include <QFileInfo>

#include <cstring>

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

void mergeList(const QByteArray& bytes)
{
    MailboxMerge merge(VmbArray(), MergedFields::All);
    VoicemailBox record;
    forEachLine(bytes, [&](QByteArrayView line) {
        // Errors are ignored line by line: a bad line is skipped.
        if (line.size() > kLongestListLine)
            return;
        ignoreErrors([&] {
            record = VoicemailBox{};
            if (parseListLine(line, record))
                merge.take(std::move(record));
        });
    });
    ignoreErrors([&] { merge.finish(); });
}

}  // namespace

int VmbLoadArrayLoadXML()
{
    const QString path = paths::mailboxList();
    if (!fs::fileExists(path))
        return 0;
    QByteArray bytes;
    try {
        // A pipe or device would block a plain read: treat it as unreadable.
        if (!QFileInfo(path).isFile())
            raiseError(err::PathFileAccessError);
        bytes = fs::readFile(path);
    } catch (const RuntimeError& e) {
        // Found but unreadable: report it and leave the table as it is.
        LogError(0, QStringLiteral("VmbLoadArrayLoadXML:") + QString::number(e.number()) + QLatin1Char(':') +
                        e.description());
        return 0;
    }
    LogRunInfo(0, QStringLiteral("Loading VMB data begin"));
    ignoreErrors([&] { mergeList(bytes); });
    LogRunInfo(0, QStringLiteral("Loading VMB data end"));
    return 0;
}

void VmbLoadArray()
{
    ignoreErrors([] { VmbArray().resetToElementZero(); });
    ignoreErrors([] { VmbLoadArrayLoadTXT(); });
    ignoreErrors([] { VmbLoadArrayLoadXML(); });
    ignoreErrors([] { fs::deleteFile(paths::legacyMailboxList()); });
}

}  // namespace vm
