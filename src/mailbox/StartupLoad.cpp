// The start-up load: legacy import, merge of the list file, removal of the
// legacy file. Nothing here stops the program: every failure is ignored or
// only reported to the run log.

#include "MailboxListFile.h"
#include "MailboxMerge.h"
#include "VmMgrStub.h"
#include "VmailLib.h"

#include "config/Paths.h"
#include "platform/AnsiText.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

#include <QFileInfo>

namespace vm {

namespace {

// A record from one line; false when the line holds none or is unreadable.
bool parseListLine(const QString& line, VoicemailBox& record)
{
    if (line.size() > kLongestListLine)
        return false;
    record = VoicemailBox{};
    std::int16_t status = -1;
    const bool parsed = ignoreErrors([&] {
        status = VmbParseXmlLine(line, record.Id, record.Pin, record.Groups, record.Description,
                                 record.EmailForward, record.PhoneForward, record.PagerNumber,
                                 record.PagerMessage, record.OnReceive, record.FtpUpload,
                                 record.DeleteAfterForward);
    });
    return parsed && status == 0 && !record.Id.isEmpty();
}

void mergeListText(const QString& text)
{
    MailboxMerge merge(VmbArray(), MergedFields::All);
    VoicemailBox record;
    for (const QString& line : ansi::splitLines(text)) {
        if (parseListLine(line, record))
            ignoreErrors([&] { merge.take(record); });
    }
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
        LogError(0, QStringLiteral("VmbLoadArrayLoadXML:") + QString::number(e.number()) + QLatin1Char(':')
                        + e.description());
        return 0;
    }
    LogRunInfo(0, QStringLiteral("Loading VMB data begin"));
    ignoreErrors([&] { mergeListText(ansi::decode(bytes)); });
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
