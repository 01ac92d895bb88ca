#include "MailboxListFile.h"

#include "VmailLib.h"
#include "VmbSort.h"

#include "config/Paths.h"
#include "platform/AnsiText.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace vm {

namespace {

// Writes the list into one buffer sized up front: tags are copied as they
// are, ASCII values (the usual content) unit by unit, anything else through
// the code page conversion, which gives one byte per unit as well.
class ListWriter {
public:
    explicit ListWriter(qsizetype capacity) { bytes_.resize(capacity); }

    template <std::size_t N>
    void tag(const char (&text)[N])
    {
        copy(text, N - 1);
    }

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
            const QByteArray encoded = ansi::encode(value);
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
    out.tag("\"><Pin>");
    out.text(box.Pin);
    out.tag("</Pin><Groups>");
    out.text(box.Groups);
    out.tag("</Groups><Description>");
    out.text(box.Description);
    out.tag("</Description><EmailForward>");
    out.text(box.EmailForward);
    out.tag("</EmailForward><PhoneForward>");
    out.text(box.PhoneForward);
    out.tag("</PhoneForward><PagerNumber>");
    out.text(box.PagerNumber);
    out.tag("</PagerNumber><PagerMessage>");
    out.text(box.PagerMessage);
    out.tag("</PagerMessage><OnReceive>");
    out.text(box.OnReceive);
    out.tag("</OnReceive><FtpUpload>");
    out.number(box.FtpUpload);
    out.tag("</FtpUpload><DeleteAfterForward>");
    out.number(box.DeleteAfterForward);
    out.tag("</DeleteAfterForward></VoicemailBox>\r\n");
}

qsizetype expectedLineLength(const VoicemailBox& b)
{
    constexpr qsizetype kTagsPerLine = 320;  // 293 bytes of tags, two numbers of up to 6
    return kTagsPerLine + b.Id.size() + b.Pin.size() + b.Groups.size() + b.Description.size() + b.EmailForward.size() +
           b.PhoneForward.size() + b.PagerNumber.size() + b.PagerMessage.size() + b.OnReceive.size();
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
    fs::replaceFileAtomically(path, mailboxListBytes(table));
}

void VmbSaveXML() { saveMailboxList(VmbArray(), paths::mailboxList()); }

}  // namespace vm
