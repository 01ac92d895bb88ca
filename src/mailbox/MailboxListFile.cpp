#include "MailboxListFile.h"

#include "VmailLib.h"
#include "VmbSort.h"

#include "config/Paths.h"
#include "platform/AnsiText.h"
#include "platform/FileSystem.h"

namespace vm {

namespace {

void appendElement(QString& out, QLatin1String open, const QString& value, QLatin1String close)
{
    out.append(open);
    out.append(value);
    out.append(close);
}

void appendLine(QString& out, const VoicemailBox& box)
{
    appendElement(out, QLatin1String("<VoicemailBox Id=\""), box.Id, QLatin1String("\">"));
    appendElement(out, QLatin1String("<Pin>"), box.Pin, QLatin1String("</Pin>"));
    appendElement(out, QLatin1String("<Groups>"), box.Groups, QLatin1String("</Groups>"));
    appendElement(out, QLatin1String("<Description>"), box.Description, QLatin1String("</Description>"));
    appendElement(out, QLatin1String("<EmailForward>"), box.EmailForward, QLatin1String("</EmailForward>"));
    appendElement(out, QLatin1String("<PhoneForward>"), box.PhoneForward, QLatin1String("</PhoneForward>"));
    appendElement(out, QLatin1String("<PagerNumber>"), box.PagerNumber, QLatin1String("</PagerNumber>"));
    appendElement(out, QLatin1String("<PagerMessage>"), box.PagerMessage, QLatin1String("</PagerMessage>"));
    appendElement(out, QLatin1String("<OnReceive>"), box.OnReceive, QLatin1String("</OnReceive>"));
    appendElement(out, QLatin1String("<FtpUpload>"), QString::number(box.FtpUpload), QLatin1String("</FtpUpload>"));
    appendElement(out, QLatin1String("<DeleteAfterForward>"), QString::number(box.DeleteAfterForward),
                  QLatin1String("</DeleteAfterForward>"));
    out.append(QLatin1String("</VoicemailBox>\r\n"));
}

qsizetype expectedLength(const MailboxTable& table, int n)
{
    constexpr qsizetype kTagsPerLine = 300;
    qsizetype total = 64;
    for (int i = 1; i <= n; ++i) {
        const VoicemailBox& b = table.at(i);
        total += kTagsPerLine + b.Id.size() + b.Pin.size() + b.Groups.size() + b.Description.size()
                 + b.EmailForward.size() + b.PhoneForward.size() + b.PagerNumber.size()
                 + b.PagerMessage.size() + b.OnReceive.size();
    }
    return total;
}

}  // namespace

QByteArray mailboxListBytes(const MailboxTable& table)
{
    const int n = table.upperBound();
    QString text;
    text.reserve(expectedLength(table, n));
    text.append(QLatin1String("<?xml version=\"1.0\"?>\r\n<VoicemailBoxes>\r\n"));
    for (int i = 1; i <= n; ++i)
        appendLine(text, table.at(i));
    text.append(QLatin1String("</VoicemailBoxes>\r\n"));
    return ansi::encode(text);
}

void saveMailboxList(MailboxTable& table, const QString& path)
{
    // A table without boxes never overwrites a list the engine may still use.
    if (!table.isSized())
        return;
    const std::int16_t n = table.upperBound();
    if (n < 1)
        return;
    sortById(table, 1, n);
    fs::replaceFileAtomically(path, mailboxListBytes(table));
}

void VmbSaveXML()
{
    saveMailboxList(VmbArray(), paths::mailboxList());
}

}  // namespace vm
