#include "LegacyImport.h"

#include "FolderLoad.h"
#include "MailboxMerge.h"
#include "TextReuse.h"

#include "config/Paths.h"
#include "platform/AnsiText.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

#include <algorithm>
#include <utility>

namespace vm::mailbox {

// ---------------------------------------------------------------- fields

LegacyFieldReader::LegacyFieldReader(QString text) : text_(std::move(text)) {}

qsizetype LegacyFieldReader::findDelimiter(qsizetype from) const
{
    const qsizetype n = text_.size();
    const QChar* p = text_.constData();
    while (from < n && p[from] != u',' && p[from] != u'\r')
        ++from;
    return from;
}

void LegacyFieldReader::consumeDelimiter()
{
    const qsizetype n = text_.size();
    fieldPromised_ = false;
    if (pos_ >= n)
        return;
    if (text_.at(pos_) == u',') {
        ++pos_;
        fieldPromised_ = true;
        return;
    }
    ++pos_;  // CR
    if (pos_ < n && text_.at(pos_) == u'\n')
        ++pos_;
}

bool LegacyFieldReader::read(QString& field)
{
    const qsizetype n = text_.size();
    while (pos_ < n && text_.at(pos_) == u' ')
        ++pos_;
    if (pos_ >= n) {
        if (!fieldPromised_)
            return false;
        fieldPromised_ = false;
        field.clear();
        return true;
    }
    if (text_.at(pos_) == u'"') {
        const qsizetype close = text_.indexOf(u'"', pos_ + 1);
        if (close < 0) {
            // Unterminated: the value runs to the end of the text.
            field = text_.mid(pos_ + 1);
            pos_ = n;
            fieldPromised_ = false;
            return true;
        }
        assignReusing(field, QStringView(text_).sliced(pos_ + 1, close - pos_ - 1));
        pos_ = findDelimiter(close + 1);
    } else {
        const qsizetype end = findDelimiter(pos_);
        qsizetype last = end;
        while (last > pos_ && text_.at(last - 1) == u' ')
            --last;
        assignReusing(field, QStringView(text_).sliced(pos_, last - pos_));
        pos_ = end;
    }
    consumeDelimiter();
    return true;
}

// ---------------------------------------------------------------- layouts

std::vector<LegacyField> legacyLayout(const QString& firstLine)
{
    using F = LegacyField;
    switch (firstLine.count(QLatin1String("\",\""))) {
        case 2: return {F::Id, F::Pin, F::Description};
        case 3: return {F::Id, F::Pin, F::Description, F::EmailForward};
        case 4: return {F::Id, F::Pin, F::Description, F::EmailForward, F::PhoneForward};
        case 6:
            return {F::Id, F::Pin, F::Description, F::EmailForward, F::PhoneForward, F::PagerNumber, F::PagerMessage};
        default:
            return {F::Id,           F::Pin,          F::Groups,      F::Description,
                    F::EmailForward, F::PhoneForward, F::PagerNumber, F::PagerMessage};
    }
}

// ---------------------------------------------------------------- import

namespace {

QString& fieldOf(VoicemailBox& box, LegacyField f)
{
    switch (f) {
        case LegacyField::Id: return box.Id;
        case LegacyField::Pin: return box.Pin;
        case LegacyField::Groups: return box.Groups;
        case LegacyField::Description: return box.Description;
        case LegacyField::EmailForward: return box.EmailForward;
        case LegacyField::PhoneForward: return box.PhoneForward;
        case LegacyField::PagerNumber: return box.PagerNumber;
        case LegacyField::PagerMessage: return box.PagerMessage;
    }
    return box.Id;
}

constexpr LegacyField kAllFields[] = {LegacyField::Id,          LegacyField::Pin,          LegacyField::Groups,
                                      LegacyField::Description, LegacyField::EmailForward, LegacyField::PhoneForward,
                                      LegacyField::PagerNumber, LegacyField::PagerMessage};

// One record in the given layout, read into `record` in the memory its
// texts have from the record before; the strings the layout lacks are
// empty. False when a read fails part-way, and then the partial record is
// not imported.
bool readRecord(LegacyFieldReader& reader, const std::vector<LegacyField>& layout, VoicemailBox& record)
{
    for (const LegacyField f : kAllFields) {
        if (std::find(layout.begin(), layout.end(), f) == layout.end())
            fieldOf(record, f) = QString();
    }
    for (const LegacyField f : layout) {
        if (!reader.read(fieldOf(record, f)))
            return false;
    }
    return true;
}

// Hands the eight strings a legacy record brings to the entry, and the
// entry's earlier texts to the record, whose memory the next record's
// fields are read into: no text is copied twice.
void swapLegacyFields(VoicemailBox& record, VoicemailBox& entry)
{
    for (const LegacyField f : kAllFields)
        fieldOf(record, f).swap(fieldOf(entry, f));
}

QString firstLineOf(const QString& text)
{
    const qsizetype cr = text.indexOf(u'\r');
    return cr < 0 ? text : text.left(cr);
}

}  // namespace

FileRead readLegacyList() { return readIfPresent(config::legacyMailboxList(), true); }

void importLegacyList(MailboxTable& table, FileRead&& read, FolderLoad& load)
{
    if (!read.found)
        return;
    if (read.errorNumber != 0) {
        load.problems.push_back({config::legacyMailboxList(), unreadable(read.errorNumber, read.errorDescription)});
        return;
    }
    if (const auto problem = encodingProblem(config::legacyMailboxList(), read.bytes))
        load.problems.push_back(*problem);
    const QString text = platform::decodeAnsi(std::exchange(read.bytes, QByteArray()));
    const std::vector<LegacyField> layout = legacyLayout(firstLineOf(text));

    MailboxMerge merge(table, MergedFields::EightStrings, load.deletions);
    LegacyFieldReader reader(text);
    VoicemailBox record;
    int leftOut = 0;
    while (readRecord(reader, layout, record)) {
        if (!platform::ignoreErrorsButMemory(
                [&] { merge.takeInPlace(record.Id, [&](VoicemailBox& entry) { swapLegacyFields(record, entry); }); }))
            ++leftOut;
    }
    platform::ignoreErrorsButMemory([&] { merge.finish(); });
    if (leftOut > 0)
        load.problems.push_back(
            {config::legacyMailboxList(),
             leftOut == 1 ? QStringLiteral("a box beyond the 32,767 the table holds is left out")
                          : QStringLiteral("%1 boxes beyond the 32,767 the table holds are left out").arg(leftOut)});
}

void importLegacyList(MailboxTable& table, FolderLoad& load) { importLegacyList(table, readLegacyList(), load); }

}  // namespace vm::mailbox
