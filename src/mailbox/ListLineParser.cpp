#include "ListLineParser.h"

#include "ListLine.h"
#include "TextFold.h"
#include "TextReuse.h"

#include "platform/AnsiText.h"
#include "platform/RuntimeError.h"
#include "platform/VbNumbers.h"

#include <QLocale>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string_view>

namespace vm {

namespace {

// ---------------------------------------------------------------- folding

// A line is either text (QStringView) or windows-1252 bytes
// (QByteArrayView); both fold each character alike.
char16_t foldedUnit(QChar c) { return foldCaseUnit(c); }

const std::array<char16_t, 128>& foldedHighBytes()
{
    static const std::array<char16_t, 128> table = [] {
        QByteArray bytes(128, Qt::Uninitialized);
        for (int i = 0; i < 128; ++i)
            bytes[i] = static_cast<char>(0x80 + i);
        const QString text = ansi::decode(bytes);
        std::array<char16_t, 128> folded{};
        for (int i = 0; i < 128; ++i)
            folded[static_cast<std::size_t>(i)] = foldedUnit(text[i]);
        return folded;
    }();
    return table;
}

char16_t foldedUnit(char byte)
{
    const auto b = static_cast<unsigned char>(byte);
    if (b < 0x80)
        return (b >= 'A' && b <= 'Z') ? static_cast<char16_t>(b + ('a' - 'A')) : b;
    return foldedHighBytes()[b - 0x80];
}

char16_t unitOf(QChar c) { return c.unicode(); }
char16_t unitOf(char byte) { return static_cast<unsigned char>(byte); }

QString textOf(QStringView v) { return v.toString(); }

// ASCII is the same in windows-1252 and Latin-1, and Qt converts Latin-1 fast.
bool isAscii(QByteArrayView v)
{
    return std::all_of(v.begin(), v.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

QString textOf(QByteArrayView v)
{
    if (v.isEmpty())
        return {};
    return isAscii(v) ? QString::fromLatin1(v) : ansi::decode(QByteArray::fromRawData(v.data(), v.size()));
}

// Exact comparison, the cheap first try: lines the program wrote itself
// spell every tag exactly as the marker does.
bool sameUnits(QStringView line, qsizetype p, const QString& text) { return line.sliced(p, text.size()) == text; }

bool sameUnits(QByteArrayView line, qsizetype p, const QString& text)
{
    const char* c = line.data() + p;
    for (qsizetype k = 0; k < text.size(); ++k)
        if (static_cast<unsigned char>(c[k]) != text[k].unicode())
            return false;
    return true;
}

// ---------------------------------------------------------------- search

// What a "<" position or a tag marker looks like at a glance: its folded
// second character and its length up to and including the first ">".
std::uint32_t tagKey(char16_t second, qsizetype length)
{
    return (static_cast<std::uint32_t>(second) << 16) | static_cast<std::uint32_t>(std::min<qsizetype>(length, 0xFFFF));
}

// A marker searched for ignoring case: each character is compared in its
// simply case-folded form, so positions are positions in the original line.
struct Marker {
    explicit Marker(const QString& text) : original(text), folded(foldCase(text))
    {
        // An element tag: "<", a name without ">", then ">".
        isTag = folded.size() >= 2 && folded[0] == u'<' && folded.indexOf(u'>') == folded.size() - 1;
        if (isTag)
            key = tagKey(folded[1].unicode(), folded.size());
    }

    template <class View>
    bool matchesAt(View line, qsizetype p) const
    {
        if (p + folded.size() > line.size())
            return false;
        if (sameUnits(line, p, original))
            return true;
        for (qsizetype k = 0; k < folded.size(); ++k)
            if (foldedUnit(line[p + k]) != folded[k].unicode())
                return false;
        return true;
    }

    QString original;
    QString folded;
    bool isTag = false;
    std::uint32_t key = 0;
};

// A line prepared for many marker searches. Its "<" positions are listed
// once with their tag keys: an element tag can only start at one of them,
// and only where the key agrees, so a tag search is a short integer scan.
template <class View>
class SearchLine {
public:
    explicit SearchLine(View line) : line_(line)
    {
        const qsizetype n = line.size();
        qsizetype waiting = 0;  // opens_ from here on still look for their ">"
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t u = unitOf(line[i]);
            if (u == u'<') {
                opens_.push_back({i, i + 1 < n ? foldedUnit(line[i + 1]) : char16_t(0)});
            } else if (u == u'>') {
                for (; waiting < opens_.size(); ++waiting)
                    opens_[waiting].key = tagKey(static_cast<char16_t>(opens_[waiting].key),
                                                 i - opens_[waiting].pos + 1);
            }
        }
        for (; waiting < opens_.size(); ++waiting)
            opens_[waiting].key = 0;  // no ">" follows: no tag starts here
    }

    View line() const { return line_; }

    // First position >= from where the marker occurs; -1 when none.
    qsizetype find(const Marker& m, qsizetype from) const
    {
        if (m.isTag) {
            const auto before = [](const Open& o, qsizetype pos) { return o.pos < pos; };
            for (auto it = std::lower_bound(opens_.begin(), opens_.end(), from, before); it != opens_.end(); ++it)
                if (it->key == m.key && m.matchesAt(line_, it->pos))
                    return it->pos;
            return -1;
        }
        if (m.folded.isEmpty())
            return from <= line_.size() ? from : -1;
        const char16_t first = m.folded[0].unicode();
        const bool onlyItself = first < 0x80 && !(first >= u'a' && first <= u'z');
        for (qsizetype p = from; p < line_.size(); ++p) {
            // Nothing else folds to an ASCII character that is not a letter.
            if (onlyItself) {
                p = line_.indexOf(static_cast<char>(first), p);
                if (p < 0)
                    return -1;
            }
            if (foldedUnit(line_[p]) == first && m.matchesAt(line_, p))
                return p;
        }
        return -1;
    }

private:
    struct Open {
        qsizetype pos;
        std::uint32_t key;  // the folded second character until its ">" is seen
    };

    View line_;
    QVarLengthArray<Open, 32> opens_;
};

qsizetype position16(qsizetype zeroBased)
{
    // The 1-based position must fit the 16-bit variable it is kept in.
    return toInt16(zeroBased + 1) - 1;
}

template <class View>
View tagText(const SearchLine<View>& line, const Marker& start, const Marker& end)
{
    const qsizetype p1 = line.find(start, 0);
    if (p1 < 0)
        return {};
    position16(p1);
    // The end marker is searched from the start marker's first character,
    // so the two may overlap: that gives a negative length.
    const qsizetype p2 = line.find(end, p1);
    if (p2 < 0)
        return {};
    position16(p2);
    const qsizetype from = p1 + start.folded.size();
    const qsizetype length = p2 - from;
    if (length < 0)
        raiseError(err::InvalidProcedureCall);
    return line.line().sliced(from, length);
}

// ---------------------------------------------------------------- records

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

enum class Element {
    Pin,
    Groups,
    Description,
    EmailForward,
    PhoneForward,
    PagerNumber,
    PagerMessage,
    OnReceive,
    FtpUpload,
    DeleteAfterForward,
    Count
};

const ElementMarkers& markersOf(Element e)
{
    static const std::array<ElementMarkers, static_cast<std::size_t>(Element::Count)> all{
        element("Pin"),          element("Groups"),
        element("Description"),  element("EmailForward"),
        element("PhoneForward"), element("PagerNumber"),
        element("PagerMessage"), element("OnReceive"),
        element("FtpUpload"),    element("DeleteAfterForward"),
    };
    return all[static_cast<std::size_t>(e)];
}

template <class View>
std::int16_t flagOf(View text)
{
    if (text.size() == 1 && unitOf(text[0]) >= u'0' && unitOf(text[0]) <= u'9')
        return static_cast<std::int16_t>(unitOf(text[0]) - u'0');
    return flagFromText(textOf(text));
}

// The output parameters are assigned one by one, in this order, so a
// failure part-way leaves the earlier ones set.
template <class View>
std::int16_t parseLine(View line, QString& Id, QString& Pin, QString& Groups, QString& Description,
                       QString& EmailForward, QString& PhoneForward, QString& PagerNumber, QString& PagerMessage,
                       QString& OnReceive, std::int16_t& FtpUpload, std::int16_t& DeleteAfterForward)
{
    const SearchLine<View> search(line);
    const auto text = [&](Element e) { return tagText(search, markersOf(e).start, markersOf(e).end); };
    const auto value = [&](Element e) { return textOf(text(e)); };

    Id = textOf(tagText(search, idMarkers().start, idMarkers().end));
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
    FtpUpload = flagOf(text(Element::FtpUpload));
    DeleteAfterForward = flagOf(text(Element::DeleteAfterForward));
    return 0;
}

// ---------------------------------------------------------------- written lines

// A line exactly as the writer makes it: every tag spelled as written, in
// writer order, no "<" inside any value, nothing after the record. In such a
// line every tag occurs once, where the writer put it, so the general search
// would find exactly these fields: they are read in one pass instead.
class WrittenLine {
public:
    explicit WrittenLine(QByteArrayView line) : line_(line) {}

    bool split(WrittenRecord& r)
    {
        if (!skip("<VoicemailBox Id=\""))
            return false;
        // The general search looks for the Id's end from the marker's own
        // first character: an Id starting with ">" must go that way.
        const qsizetype idEnd = idEndFrom(pos_ - 1);
        if (idEnd <= pos_)
            return false;
        r.id = line_.sliced(pos_, idEnd - pos_);
        if (r.id.contains('<'))
            return false;
        pos_ = idEnd + 2;
        static constexpr std::array<std::array<std::string_view, 2>, 10> kTags = {{
            {"<Pin>", "</Pin>"},
            {"<Groups>", "</Groups>"},
            {"<Description>", "</Description>"},
            {"<EmailForward>", "</EmailForward>"},
            {"<PhoneForward>", "</PhoneForward>"},
            {"<PagerNumber>", "</PagerNumber>"},
            {"<PagerMessage>", "</PagerMessage>"},
            {"<OnReceive>", "</OnReceive>"},
            {"<FtpUpload>", "</FtpUpload>"},
            {"<DeleteAfterForward>", "</DeleteAfterForward>"},
        }};
        for (std::size_t k = 0; k < kTags.size(); ++k)
            if (!element(kTags[k][0], kTags[k][1], r.values[k]))
                return false;
        return skip("</VoicemailBox>") && pos_ == line_.size();
    }

private:
    // The first `">` at or after `from`; -1 when there is none.
    qsizetype idEndFrom(qsizetype from) const
    {
        const char* data = line_.data();
        const qsizetype n = line_.size();
        while (from < n) {
            const void* quote = std::memchr(data + from, '"', static_cast<std::size_t>(n - from));
            if (!quote)
                return -1;
            const qsizetype at = static_cast<const char*>(quote) - data;
            if (at + 1 < n && data[at + 1] == '>')
                return at;
            from = at + 1;
        }
        return -1;
    }

    bool skip(std::string_view expected)
    {
        const auto length = static_cast<qsizetype>(expected.size());
        if (line_.size() - pos_ < length || std::memcmp(line_.data() + pos_, expected.data(), expected.size()) != 0)
            return false;
        pos_ += length;
        return true;
    }

    bool element(std::string_view open, std::string_view close, QByteArrayView& value)
    {
        if (!skip(open))
            return false;
        const qsizetype end = line_.indexOf('<', pos_);
        if (end < 0)
            return false;
        value = line_.sliced(pos_, end - pos_);
        pos_ = end;
        return skip(close);
    }

    QByteArrayView line_;
    qsizetype pos_ = 0;
};

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

std::int16_t flagFromText(QStringView text)
{
    const QStringView t = text.trimmed();
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

bool splitWrittenLine(QByteArrayView line, WrittenRecord& record)
{
    // Positions past 16 bits are the general search's business (it raises).
    return line.size() <= kLongestListLine && WrittenLine(line).split(record);
}

void assignText(QString& to, QByteArrayView bytes)
{
    if (bytes.isEmpty()) {
        if (!to.isNull())
            to = QString();  // as the general reader gives it
    } else if (isAscii(bytes)) {
        // A value that is there already is left as it is (a reload of the
        // same list changes nothing); another goes into the memory `to` has.
        const QLatin1StringView text(bytes.data(), bytes.size());
        if (to != text)
            to = text;
    } else {
        to = ansi::decode(QByteArray::fromRawData(bytes.data(), bytes.size()));
    }
}

void assignWrittenRecord(const WrittenRecord& w, VoicemailBox& r)
{
    prefetchTexts(r);
    assignText(r.Id, w.id);
    QString* strings[] = {&r.Pin,          &r.Groups,      &r.Description,  &r.EmailForward,
                          &r.PhoneForward, &r.PagerNumber, &r.PagerMessage, &r.OnReceive};
    for (std::size_t k = 0; k < std::size(strings); ++k)
        assignText(*strings[k], w.values[k]);
    r.FtpUpload = flagOf(w.values[8]);
    r.DeleteAfterForward = flagOf(w.values[9]);
}

bool parseListLine(QByteArrayView line, VoicemailBox& r)
{
    WrittenRecord written;
    if (splitWrittenLine(line, written)) {
        assignWrittenRecord(written, r);
        return true;
    }
    return parseLine(line, r.Id, r.Pin, r.Groups, r.Description, r.EmailForward, r.PhoneForward, r.PagerNumber,
                     r.PagerMessage, r.OnReceive, r.FtpUpload, r.DeleteAfterForward) == 0;
}

QString XmlTagValue(const QString& line, const QString& startMarker, const QString& endMarker)
{
    return tagText(SearchLine<QStringView>(line), Marker(startMarker), Marker(endMarker)).toString();
}

std::int16_t VmbParseXmlLine(const QString& line, QString& Id, QString& Pin, QString& Groups, QString& Description,
                             QString& EmailForward, QString& PhoneForward, QString& PagerNumber, QString& PagerMessage,
                             QString& OnReceive, std::int16_t& FtpUpload, std::int16_t& DeleteAfterForward)
{
    return parseLine(QStringView(line), Id, Pin, Groups, Description, EmailForward, PhoneForward, PagerNumber,
                     PagerMessage, OnReceive, FtpUpload, DeleteAfterForward);
}

}  // namespace vm
