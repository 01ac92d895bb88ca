#include "NumberText.h"

#include "RuntimeError.h"
#include "VbNumbers.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>

namespace vm::platform {

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// 0..15 for "0".."9", "A".."F" in either case; -1 for anything else.
int digitValue(QChar c)
{
    if (isDigit(c))
        return c.unicode() - u'0';
    const char16_t u = c.toUpper().unicode();
    return u >= u'A' && u <= u'F' ? u - u'A' + 10 : -1;
}

// The parts of a decimal number as they were written.
struct Decimal {
    bool negative = false;
    std::string intDigits;
    std::string fracDigits;
    long exponent = 0;
};

// Scans [sign] digits [. digits] [(E|D) [sign] digits] from `pos`.
// Without any mantissa digit nothing is taken. An exponent marker without
// digits after it is left unread, so the caller sees where the number ended.
std::optional<Decimal> scanDecimal(QStringView s, qsizetype& pos)
{
    qsizetype i = pos;
    Decimal d;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        d.negative = s[i++] == u'-';
    while (i < s.size() && isDigit(s[i]))
        d.intDigits += static_cast<char>(s[i++].unicode());
    if (i < s.size() && s[i] == u'.') {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            d.fracDigits += static_cast<char>(s[i++].unicode());
    }
    if (d.intDigits.empty() && d.fracDigits.empty())
        return std::nullopt;
    pos = i;

    if (i < s.size() && (s[i] == u'E' || s[i] == u'e' || s[i] == u'D' || s[i] == u'd')) {
        ++i;
        bool negativeExponent = false;
        if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
            negativeExponent = s[i++] == u'-';
        if (i < s.size() && isDigit(s[i])) {
            long e = 0;
            while (i < s.size() && isDigit(s[i])) {
                if (e < 1000000)  // far beyond any double; keeps the count from overflowing
                    e = e * 10 + (s[i].unicode() - u'0');
                ++i;
            }
            d.exponent = negativeExponent ? -e : e;
            pos = i;
        }
    }
    return d;
}

// Power of ten of the first significant digit, or nullopt when all digits are 0.
std::optional<long> magnitude(const Decimal& d)
{
    const auto firstInt = d.intDigits.find_first_not_of('0');
    if (firstInt != std::string::npos)
        return static_cast<long>(d.intDigits.size() - firstInt) - 1;
    const auto firstFrac = d.fracDigits.find_first_not_of('0');
    if (firstFrac != std::string::npos)
        return -static_cast<long>(firstFrac) - 1;
    return std::nullopt;
}

double toDouble(const Decimal& d)
{
    const std::optional<long> mag = magnitude(d);
    if (!mag)
        return 0.0;
    std::string text = (d.intDigits.empty() ? std::string("0") : d.intDigits) + '.' + d.fracDigits + 'e' +
                       std::to_string(d.exponent);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        if (*mag + d.exponent > 0)
            raiseError(err::Overflow);
        value = 0.0;  // too small to tell from zero
    }
    return d.negative ? -value : value;
}

// "&H"/"&O" number at `pos` (which points at "&"). nullopt when the prefix is
// not there; an empty digit run gives 0 with `digits` false.
struct Radix {
    double value = 0.0;
    bool digits = false;
};

std::optional<Radix> scanRadix(QStringView s, qsizetype& pos)
{
    qsizetype i = pos;
    if (i + 1 >= s.size() || s[i] != u'&')
        return std::nullopt;
    const QChar kind = s[i + 1].toUpper();
    const int base = kind == u'H' ? 16 : kind == u'O' ? 8 : 0;
    if (base == 0)
        return std::nullopt;
    i += 2;
    std::uint64_t value = 0;
    Radix r;
    for (; i < s.size(); ++i) {
        const int digit = digitValue(s[i]);
        if (digit < 0 || digit >= base)
            break;
        value = value * base + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFull)
            raiseError(err::Overflow);
        r.digits = true;
    }
    pos = i;
    // Short literals are 16-bit and long ones 32-bit two's complement values.
    if (value <= 0xFFFF)
        r.value = static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    else
        r.value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return r;
}

bool isStrictBlank(QChar c) { return c == u' ' || c == u'\t'; }

}  // namespace

double textToDouble(const QString& text)
{
    const QStringView s(text);
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isStrictBlank(s[b]))
        ++b;
    while (e > b && isStrictBlank(s[e - 1]))
        --e;
    const QStringView body = s.mid(b, e - b);

    qsizetype pos = 0;
    if (const auto radix = scanRadix(body, pos)) {
        if (radix->digits && pos == body.size())
            return radix->value;
        raiseError(err::TypeMismatch);
    }
    const auto decimal = scanDecimal(body, pos);
    if (!decimal || pos != body.size())
        raiseError(err::TypeMismatch);
    return toDouble(*decimal);
}

std::int16_t textToInt16(const QString& text) { return roundToInt16(textToDouble(text)); }

double leadingNumber(const QString& text)
{
    QString compact;
    compact.reserve(text.size());
    for (const QChar c : text)
        if (c != u' ' && c != u'\t' && c != u'\n')
            compact.append(c);

    qsizetype pos = 0;
    if (const auto radix = scanRadix(compact, pos))
        return radix->value;
    const auto decimal = scanDecimal(compact, pos);
    return decimal ? toDouble(*decimal) : 0.0;
}

}  // namespace vm::platform
