#include "MailboxListFile.h"

#include "TextFold.h"
#include "VmailLib.h"
#include "VmbSort.h"

#include "config/Paths.h"
#include "platform/AnsiText.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"
#include "platform/VbNumbers.h"

#include <QLocale>
#include <QStringMatcher>

#include <array>
#include <cmath>

namespace vm {

// ---------------------------------------------------------------- writing

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

// ---------------------------------------------------------------- reading

namespace {

// A marker searched for ignoring case: matched in its folded form against
// the folded line, so positions found are positions in the original line.
struct Marker {
    explicit Marker(const QString& text)
        : folded(foldCase(text)), matcher(folded, Qt::CaseSensitive)
    {
    }
    QString folded;
    QStringMatcher matcher;
};

qsizetype position16(qsizetype zeroBased)
{
    // The 1-based position must fit the 16-bit variable it is kept in.
    return toInt16(zeroBased + 1) - 1;
}

QString tagValue(const QString& line, const QString& foldedLine, const Marker& start, const Marker& end)
{
    const qsizetype p1 = start.matcher.indexIn(foldedLine, 0);
    if (p1 < 0)
        return {};
    position16(p1);
    // The end marker is searched from the start marker's first character,
    // so the two may overlap: that gives a negative length.
    const qsizetype p2 = end.matcher.indexIn(foldedLine, p1);
    if (p2 < 0)
        return {};
    position16(p2);
    const qsizetype from = p1 + start.folded.size();
    const qsizetype length = p2 - from;
    if (length < 0)
        raiseError(err::InvalidProcedureCall);
    return line.mid(from, length);
}

struct ElementMarkers {
    Marker start;
    Marker end;
};

const ElementMarkers& idMarkers()
{
    static const ElementMarkers m{Marker(QStringLiteral("VoicemailBox Id=\"")), Marker(QStringLiteral("\">"))};
    return m;
}

ElementMarkers element(const char* name)
{
    const QString n = QLatin1String(name);
    return {Marker(QLatin1Char('<') + n + QLatin1Char('>')), Marker(QStringLiteral("</") + n + QLatin1Char('>'))};
}

enum class Element { Pin, Groups, Description, EmailForward, PhoneForward, PagerNumber, PagerMessage, OnReceive,
                     FtpUpload, DeleteAfterForward, Count };

const ElementMarkers& markersOf(Element e)
{
    static const std::array<ElementMarkers, static_cast<std::size_t>(Element::Count)> all{
        element("Pin"),          element("Groups"),       element("Description"), element("EmailForward"),
        element("PhoneForward"), element("PagerNumber"),  element("PagerMessage"), element("OnReceive"),
        element("FtpUpload"),    element("DeleteAfterForward"),
    };
    return all[static_cast<std::size_t>(e)];
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// [+-] digits [. digits] [e [+-] digits], at least one mantissa digit.
bool isNumberText(QStringView t)
{
    qsizetype i = 0;
    const qsizetype n = t.size();
    if (i < n && (t[i] == u'+' || t[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    for (; i < n && isDigit(t[i]); ++i)
        ++digits;
    if (i < n && t[i] == u'.')
        for (++i; i < n && isDigit(t[i]); ++i)
            ++digits;
    if (digits == 0)
        return false;
    if (i < n && (t[i] == u'e' || t[i] == u'E')) {
        ++i;
        if (i < n && (t[i] == u'+' || t[i] == u'-'))
            ++i;
        const qsizetype expStart = i;
        while (i < n && isDigit(t[i]))
            ++i;
        if (i == expStart)
            return false;
    }
    return i == n;
}

}  // namespace

std::int16_t flagFromText(const QString& text)
{
    if (text.size() == 1 && isDigit(text[0]))
        return static_cast<std::int16_t>(text[0].unicode() - u'0');
    const QStringView t = QStringView(text).trimmed();
    if (!isNumberText(t))
        return 0;
    bool ok = false;
    const double value = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(value))
        return 0;
    const double rounded = roundHalfEven(value);
    if (rounded < -32768.0 || rounded > 32767.0)
        return 0;
    return static_cast<std::int16_t>(rounded);
}

QString XmlTagValue(const QString& line, const QString& startMarker, const QString& endMarker)
{
    return tagValue(line, foldCase(line), Marker(startMarker), Marker(endMarker));
}

std::int16_t VmbParseXmlLine(const QString& line, QString& Id, QString& Pin, QString& Groups,
                             QString& Description, QString& EmailForward, QString& PhoneForward,
                             QString& PagerNumber, QString& PagerMessage, QString& OnReceive,
                             std::int16_t& FtpUpload, std::int16_t& DeleteAfterForward)
{
    const QString folded = foldCase(line);
    const auto value = [&](Element e) { return tagValue(line, folded, markersOf(e).start, markersOf(e).end); };

    Id = tagValue(line, folded, idMarkers().start, idMarkers().end);
    if (Id.isEmpty())
        return -1;
    Pin = value(Element::Pin);
    Groups = value(Element::Groups);
    Description = value(Element::Description);
    EmailForward = value(Element::EmailForward);
    PhoneForward = value(Element::PhoneForward);
    PagerNumber = value(Element::PagerNumber);
    PagerMessage = value(Element::PagerMessage);
    OnReceive = value(Element::OnReceive);
    FtpUpload = flagFromText(value(Element::FtpUpload));
    DeleteAfterForward = flagFromText(value(Element::DeleteAfterForward));
    return 0;
}

}  // namespace vm
