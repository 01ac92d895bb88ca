#include "BoxEdit.h"

#include "SafeText.h"

#include "mailbox/BoxText.h"
#include "mailbox/ListLineParser.h"
#include "mailbox/MailboxListFile.h"
#include "platform/AnsiText.h"
#include "platform/RuntimeError.h"

#include <algorithm>

namespace vm::vmbox {

namespace {

constexpr qsizetype kTagBytesPerLine = 320;  // every tag of a line and both flags, with room to spare

QString quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

// Box numbers and PINs from outside are taken as given or refused, never
// filtered: "1e3" is no typing slip to be read as 13.
bool isDigits(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString storedText(Column column, const QString& given)
{
    QString text = mailbox::trimBlanks(given);
    switch (column) {
        case Column::Pin:
            if (text.isEmpty())
                throw FieldProblem(column, QStringLiteral("the PIN is empty; a box needs one"));
            if (!isDigits(text))
                throw FieldProblem(column, QStringLiteral("PIN %1 may hold only digits").arg(quoted(given)));
            if (text.size() > mailbox::kPinDigits)
                throw FieldProblem(
                    column,
                    QStringLiteral("PIN %1 has more than %2 digits").arg(quoted(given)).arg(mailbox::kPinDigits));
            return text;
        case Column::FtpUpload:
        case Column::DeleteAfterForward:
            if (text != QLatin1String("0") && text != QLatin1String("1"))
                throw FieldProblem(column,
                                   QStringLiteral("%1 takes 0 or 1, not %2").arg(columnName(column), quoted(given)));
            return text;
        default:
            if (text.contains(u'\r') || text.contains(u'\n'))
                throw FieldProblem(column,
                                   QStringLiteral("%1 holds a line end; the list file keeps each box on one line")
                                       .arg(columnName(column)));
            if (const qsizetype k = firstControlCharacter(text); k >= 0)
                throw FieldProblem(column, QStringLiteral("%1 holds the control character %2")
                                               .arg(columnName(column), characterCode(text[k])));
            return text;
    }
}

void assign(mailbox::VoicemailBox& box, Column column, const QString& text)
{
    if (isFlag(column))
        box.*flagMember(column) = static_cast<std::int16_t>(text.toShort());
    else
        box.*textMember(column) = text;
}

bool mayHoldTag(const mailbox::VoicemailBox& box)
{
    qsizetype length = kTagBytesPerLine;
    for (const Column c : kAllColumns) {
        if (isFlag(c))
            continue;
        const QString& text = box.*textMember(c);
        length += text.size();
        if (text.contains(u'<'))
            return true;
    }
    return length > mailbox::kLongestListLine || box.Id.contains(u'"') || box.Id.contains(u'>');
}

// The box must come back from the list file exactly as it goes in: its
// reader skips lines past 32,767 characters and finds tags by plain search.
void checkListFileKeeps(const mailbox::VoicemailBox& box)
{
    if (!mayHoldTag(box))
        return;
    QByteArray line = mailbox::mailboxLineBytes(box);
    line.chop(2);
    if (line.size() > mailbox::kLongestListLine) {
        Column longest = Column::Description;
        for (const Column c : kAllColumns)
            if (!isFlag(c) && (box.*textMember(c)).size() > (box.*textMember(longest)).size())
                longest = c;
        throw FieldProblem(longest, QStringLiteral("the box's line in the list file would be %1 characters long; "
                                                   "its reader takes at most %2")
                                        .arg(line.size())
                                        .arg(mailbox::kLongestListLine));
    }
    mailbox::VoicemailBox back;
    const bool read = platform::ignoreErrors([&] { mailbox::parseListLine(line, back); });
    back.SeenInFile = box.SeenInFile;
    if (read && back == box)
        return;
    Column culprit = Column::Id;
    for (const Column c : kAllColumns)
        if (!isFlag(c) && c != Column::Id && (box.*textMember(c)).contains(u'<')) {
            culprit = c;
            break;
        }
    throw FieldProblem(
        culprit,
        QStringLiteral("%1 holds text that the list file's reader would take for a tag").arg(columnName(culprit)));
}

}  // namespace

qsizetype firstCharacterOutsideAnsi(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() < 0x80 || c == u'?')
            continue;
        if (platform::encodeAnsi(QString(c)) == "?")
            return i;
    }
    return -1;
}

TargetBox targetOf(const mailbox::MailboxTable& table, const QString& idText)
{
    const std::int16_t exact = table.find(idText);
    if (exact > 0 && !idText.isEmpty())
        return {exact, table.at(exact).Id};
    const QString id = mailbox::trimBlanks(idText);
    if (!isDigits(id))
        throw FieldProblem(Column::Id, id.isEmpty()
                                           ? QStringLiteral("no box number")
                                           : QStringLiteral("box number %1 may hold only digits").arg(quoted(idText)));
    return {table.find(id), id};
}

BoxEdit editBox(const mailbox::MailboxTable& table, const TargetBox& target, const std::vector<GivenValue>& values)
{
    BoxEdit edit;
    edit.target = target;
    const bool existing = target.index > 0;
    if (existing)
        edit.box = table.at(target.index);
    edit.box.Id = target.id;
    edit.box.SeenInFile = 0;
    bool pinGiven = false;
    for (const GivenValue& v : values) {
        const qsizetype outside = firstCharacterOutsideAnsi(v.text);
        if (outside >= 0)
            throw FieldProblem(v.column,
                               QStringLiteral("%1 holds %2 (%3), which windows-1252 lacks")
                                   .arg(columnName(v.column), QString(v.text[outside]), characterCode(v.text[outside])),
                               FieldProblem::Kind::Character);
        pinGiven = pinGiven || v.column == Column::Pin;
        if (!existing) {
            assign(edit.box, v.column, storedText(v.column, v.text));
            continue;
        }
        const QString before = fieldText(edit.box, v.column);
        if (v.text == before)
            continue;
        const QString after = storedText(v.column, v.text);
        assign(edit.box, v.column, after);
        if (after != before)
            edit.changed.push_back(v.column);
    }
    if (!existing && !pinGiven)
        throw FieldProblem(Column::Pin, QStringLiteral("a new box needs a PIN"));
    if (!existing || !edit.changed.empty())
        checkListFileKeeps(edit.box);
    return edit;
}

}  // namespace vm::vmbox
