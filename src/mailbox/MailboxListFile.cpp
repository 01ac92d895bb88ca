#include "MailboxListFile.h"

#include "BoxFields.h"
#include "VmbSort.h"

#include "platform/AnsiText.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

namespace vm::mailbox {

namespace {

// Writes the list into one buffer sized up front: tags are copied as they
// are, ASCII values (the usual content) unit by unit, anything else through
// the code page conversion, which gives one byte per unit as well.
class ListWriter {
public:
    explicit ListWriter(qsizetype capacity) { bytes_.resize(capacity); }

    void tag(std::string_view text) { copy(text.data(), static_cast<qsizetype>(text.size())); }

    void text(const QString& value)
    {
        reserve(value.size());
        char* dst = bytes_.data() + used_;
        const QChar* src = value.constData();
        char16_t high = 0;
        for (qsizetype i = 0; i < value.size(); ++i) {
            const char16_t c = src[i].unicode();
            high |= c & 0xFF80;
            dst[i] = static_cast<char>(c);
        }
        if (high) {
            const QByteArray encoded = platform::encodeAnsi(value);
            std::memcpy(dst, encoded.constData(), static_cast<std::size_t>(encoded.size()));
        }
        used_ += value.size();
    }

    void number(std::int16_t value)
    {
        char digits[8];
        auto* const end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        copy(digits, end - digits);
    }

    QByteArray take()
    {
        bytes_.truncate(used_);
        return std::move(bytes_);
    }

private:
    void reserve(qsizetype n)
    {
        if (used_ + n > bytes_.size())
            bytes_.resize(std::max(used_ + n, 2 * bytes_.size()));
    }

    void copy(const char* from, qsizetype n)
    {
        reserve(n);
        std::memcpy(bytes_.data() + used_, from, static_cast<std::size_t>(n));
        used_ += n;
    }

    QByteArray bytes_;
    qsizetype used_ = 0;
};

void writeLine(ListWriter& out, const VoicemailBox& box)
{
    out.tag("<VoicemailBox Id=\"");
    out.text(box.Id);
    out.tag("\">");
    for (const mailbox::BoxField* f : mailbox::kListOrder) {
        if (f->field == mailbox::Field::Id)
            continue;
        out.tag("<");
        out.tag(f->element);
        out.tag(">");
        if (f->kind == mailbox::FieldKind::Flag)
            out.number(box.*(f->flag));
        else
            out.text(box.*(f->text));
        out.tag("</");
        out.tag(f->element);
        out.tag(">");
    }
    out.tag("</VoicemailBox>\r\n");
}

qsizetype expectedLineLength(const VoicemailBox& box)
{
    constexpr qsizetype kTagsPerLine = 320;  // 293 bytes of tags, two numbers of up to 6
    qsizetype length = kTagsPerLine;
    for (const mailbox::BoxField& f : mailbox::kBoxFields)
        if (f.text)
            length += (box.*(f.text)).size();
    return length;
}

qsizetype expectedLength(const MailboxTable& table, int n)
{
    qsizetype total = 64;
    for (int i = 1; i <= n; ++i)
        total += expectedLineLength(table.at(i));
    return total;
}

}  // namespace

QByteArray mailboxListBytes(const MailboxTable& table)
{
    const int n = table.upperBound();
    ListWriter out(expectedLength(table, n));
    out.tag("<?xml version=\"1.0\"?>\r\n<VoicemailBoxes>\r\n");
    for (int i = 1; i <= n; ++i)
        writeLine(out, table.at(i));
    out.tag("</VoicemailBoxes>\r\n");
    return out.take();
}

QByteArray mailboxLineBytes(const VoicemailBox& box)
{
    ListWriter out(expectedLineLength(box));
    writeLine(out, box);
    return out.take();
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
    platform::replaceFileAtomically(path, mailboxListBytes(table));
}

}  // namespace vm::mailbox
