#include "NativeName.h"

#include <algorithm>

namespace vm::platform {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

bool continuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The length of the UTF-8 sequence at `p` and its code point, or 0 when the
// bytes there are no well-formed sequence (overlong, a surrogate, beyond
// U+10FFFF, cut short).
int sequenceAt(const unsigned char* p, qsizetype left, char32_t& code)
{
    const unsigned char b = p[0];
    int length = 0;
    char32_t least = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2, code = b & 0x1F, least = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3, code = b & 0x0F, least = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4, code = b & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    for (int k = 1; k < length; ++k) {
        if (!continuation(p[k]))
            return 0;
        code = code << 6 | (p[k] & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < least || surrogate || code > 0x10FFFF ? 0 : length;
}

}  // namespace

QString nameText(QByteArrayView native)
{
    const auto* p = reinterpret_cast<const unsigned char*>(native.data());
    const qsizetype n = native.size();
    if (std::all_of(p, p + n, [](unsigned char b) { return b < 0x80; }))
        return QString::fromLatin1(native);
    QString text;
    text.reserve(n);
    for (qsizetype i = 0; i < n;) {
        char32_t code = 0;
        const int length = p[i] < 0x80 ? 0 : sequenceAt(p + i, n - i, code);
        if (p[i] < 0x80) {
            text += QChar(p[i]);
            ++i;
        } else if (length == 0) {
            text += QChar(static_cast<char16_t>(kEscapeBase + p[i]));
            ++i;
        } else {
            text += QString::fromUcs4(&code, 1);
            i += length;
        }
    }
    return text;
}

int escapedByte(QStringView text, qsizetype at)
{
    const char16_t c = text[at].unicode();
    if (c < kEscapeBase + 0x80 || c > kEscapeBase + 0xFF)
        return -1;
    // A low surrogate right after a high one is half of a pair, not a byte.
    return at > 0 && text[at - 1].isHighSurrogate() ? -1 : c - kEscapeBase;
}

bool isLoneSurrogate(QStringView text, qsizetype at)
{
    const QChar c = text[at];
    if (c.isHighSurrogate())
        return at + 1 == text.size() || !text[at + 1].isLowSurrogate();
    return c.isLowSurrogate() && (at == 0 || !text[at - 1].isHighSurrogate());
}

QByteArray nativeName(QStringView text)
{
    QByteArray native;
    native.reserve(text.size());
    qsizetype from = 0;  // start of the run of ordinary text not yet written
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int byte = text[i].isLowSurrogate() ? escapedByte(text, i) : -1;
        if (byte < 0)
            continue;
        native += text.sliced(from, i - from).toUtf8();
        native += static_cast<char>(byte);
        from = i + 1;
    }
    native += text.sliced(from).toUtf8();
    return native;
}

}  // namespace vm::platform
