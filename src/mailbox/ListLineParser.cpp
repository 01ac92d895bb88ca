#include "ListLineParser.h"

#include "platform/AnsiText.h"
#include "platform/RuntimeError.h"
#include "platform/VbNumbers.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

namespace vm::mailbox {

namespace {

using mailbox::BoxField;
using mailbox::FieldKind;
using mailbox::kBoxFields;

// Tags are ASCII, and no windows-1252 character outside ASCII folds to an
// ASCII letter: matching them ignoring case is an ASCII comparison.
constexpr char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

bool equalsIgnoringCase(const char* bytes, std::string_view name)
{
    for (std::size_t k = 0; k < name.size(); ++k)
        if (lowerAscii(bytes[k]) != lowerAscii(name[k]))
            return false;
    return true;
}

constexpr std::string_view kIdStart = "voicemailbox id=\"";

// Where the Id's start marker first occurs; -1 when nowhere.
qsizetype findIdStart(QByteArrayView line)
{
    const qsizetype last = line.size() - static_cast<qsizetype>(kIdStart.size());
    for (qsizetype p = 0; p <= last; ++p)
        if (lowerAscii(line[p]) == 'v' && equalsIgnoringCase(line.data() + p, kIdStart))
            return p;
    return -1;
}

// The first `">` at or after `from`; -1 when there is none.
qsizetype findIdEnd(QByteArrayView line, qsizetype from)
{
    for (qsizetype p = line.indexOf('"', from); p >= 0; p = line.indexOf('"', p + 1))
        if (p + 1 < line.size() && line[p + 1] == '>')
            return p;
    return -1;
}

constexpr std::array<std::size_t, kBoxFields.size()> kNameLengths = [] {
    std::array<std::size_t, kBoxFields.size()> lengths{};
    for (std::size_t k = 0; k < lengths.size(); ++k)
        lengths[k] = std::string_view(kBoxFields[k].element).size();
    return lengths;
}();

// An element's start or end tag, "<Name>" or "</Name>".
struct Tag {
    std::size_t field;
    bool closing;
    std::string_view name;
};

// Every element's tags, in the order the writer writes them.
constexpr std::array<Tag, 2 * (kBoxFields.size() - 1)> kTags = [] {
    std::array<Tag, 2 * (kBoxFields.size() - 1)> tags{};
    std::size_t t = 0;
    for (const BoxField* f : mailbox::kListOrder) {
        if (f->field == mailbox::Field::Id)
            continue;
        const auto k = static_cast<std::size_t>(f->field);
        tags[t++] = {k, false, f->element};
        tags[t++] = {k, true, f->element};
    }
    return tags;
}();

// The first "<" at or after `from`; -1 when none.
qsizetype nextOpen(QByteArrayView line, qsizetype from)
{
    if (from >= line.size())
        return -1;
    const void* at = std::memchr(line.data() + from, '<', static_cast<std::size_t>(line.size() - from));
    return at ? static_cast<const char*>(at) - line.data() : -1;
}

// The letters element names begin with, as a mask of 'a' to 'z': a "<"
// followed by any other letter (<VoicemailBox>, say) starts no element tag.
constexpr std::uint32_t kInitials = [] {
    std::uint32_t mask = 0;
    for (const Tag& tag : kTags)
        mask |= 1u << (lowerAscii(tag.name[0]) - 'a');
    return mask;
}();

bool mayStartTag(QByteArrayView line, qsizetype p)
{
    qsizetype at = p + 1;
    if (at < line.size() && line[at] == '/')
        ++at;
    if (at >= line.size())
        return false;
    const char c = lowerAscii(line[at]);
    return c >= 'a' && c <= 'z' && (kInitials >> (c - 'a') & 1u);
}

// Whether `tag` starts at `p` (a "<"), its name spelled exactly or in any letter case.
inline bool tagAt(QByteArrayView line, qsizetype p, const Tag& tag, bool exactly)
{
    const qsizetype from = p + 1 + (tag.closing ? 1 : 0);
    const auto length = static_cast<qsizetype>(tag.name.size());
    if (from + length >= line.size() || line[from + length] != '>' || (tag.closing && line[p + 1] != '/'))
        return false;
    return exactly ? std::memcmp(line.data() + from, tag.name.data(), tag.name.size()) == 0
                   : equalsIgnoringCase(line.data() + from, tag.name);
}

bool isAscii(QByteArrayView v)
{
    return std::all_of(v.begin(), v.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::int16_t flagOf(QByteArrayView text)
{
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '9')
        return static_cast<std::int16_t>(text[0] - '0');
    return flagFromText(platform::decodeAnsi(text.toByteArray()));
}

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

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

ListLine::ListLine(QByteArrayView line)
{
    if (line.size() > kLongestListLine)
        platform::raiseError(platform::err::Overflow);
    const qsizetype idStart = findIdStart(line);
    if (idStart < 0)
        return;
    // The end marker is searched from the start marker's first character,
    // so the two may overlap: that gives a negative length.
    const qsizetype idEnd = findIdEnd(line, idStart);
    if (idEnd < 0)
        return;
    const qsizetype idFrom = idStart + static_cast<qsizetype>(kIdStart.size());
    if (idEnd < idFrom)
        platform::raiseError(platform::err::InvalidProcedureCall);
    values_[0] = line.sliced(idFrom, idEnd - idFrom);
    if (values_[0].isEmpty())
        return;

    // One pass over the tags: each element's first start tag, and the first
    // end tag after it.
    std::array<qsizetype, kBoxFields.size()> starts;
    std::array<qsizetype, kBoxFields.size()> ends;
    starts.fill(-1);
    ends.fill(-1);
    // A line as the writer writes it has its tags in writer order, spelled
    // exactly: the tag such a line has next is tried first, before every
    // tag in any letter case (measured by BM_LoadMailboxList/32767).
    std::size_t next = 0;
    for (qsizetype p = nextOpen(line, 0); p >= 0; p = nextOpen(line, p + 1)) {
        std::size_t t = next;
        if (t >= kTags.size() || !tagAt(line, p, kTags[t], true)) {
            if (!mayStartTag(line, p))
                continue;
            t = 0;
            while (t < kTags.size() && !tagAt(line, p, kTags[t], false))
                ++t;
            if (t == kTags.size())
                continue;
        }
        next = t + 1;
        const Tag& tag = kTags[t];
        if (!tag.closing && starts[tag.field] < 0)
            starts[tag.field] = p;
        else if (tag.closing && starts[tag.field] >= 0 && ends[tag.field] < 0)
            ends[tag.field] = p;
        p += static_cast<qsizetype>(tag.name.size()) + (tag.closing ? 2 : 1);  // on the tag's ">"
    }
    for (std::size_t k = 1; k < kBoxFields.size(); ++k) {
        if (ends[k] < 0)
            continue;
        const qsizetype from = starts[k] + static_cast<qsizetype>(kNameLengths[k]) + 2;
        values_[k] = line.sliced(from, ends[k] - from);
    }
}

void ListLine::assignTo(VoicemailBox& box) const
{
    for (const BoxField* f : mailbox::kListOrder) {
        const QByteArrayView value = values_[static_cast<std::size_t>(f->field)];
        if (f->kind == FieldKind::Flag)
            box.*(f->flag) = flagOf(value);
        else
            assignText(box.*(f->text), value);
    }
}

bool parseListLine(QByteArrayView line, VoicemailBox& record)
{
    const ListLine parsed(line);
    if (!parsed.holdsBox()) {
        record.Id = QString();
        return false;
    }
    parsed.assignTo(record);
    return true;
}

void assignText(QString& to, QByteArrayView bytes)
{
    if (bytes.isEmpty()) {
        if (!to.isNull())
            to = QString();
    } else if (isAscii(bytes)) {
        // ASCII is the same in windows-1252 and Latin-1, which Qt converts
        // fast. A value that is there already is left as it is (a reload of
        // the same list changes nothing); another goes into the memory `to` has.
        const QLatin1StringView text(bytes.data(), bytes.size());
        if (to != text)
            to = text;
    } else {
        to = platform::decodeAnsi(bytes.toByteArray());
    }
}

std::int16_t flagFromText(QStringView text)
{
    const QStringView t = text.trimmed();
    if (!isNumberText(t))
        return 0;
    bool ok = false;
    const double value = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(value))
        return 0;
    const double rounded = platform::roundHalfEven(value);
    if (rounded < -32768.0 || rounded > 32767.0)
        return 0;
    return static_cast<std::int16_t>(rounded);
}

}  // namespace vm::mailbox
