#include "CsvReader.h"

#include "mailbox/LoadProblem.h"
#include "platform/AnsiText.h"

#include <QStringDecoder>

#include <algorithm>

namespace vm::vmbox {

namespace {

bool isLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }

// Number of the line holding byte `offset`, line ends counted as the reader counts them.
int lineOfOffset(const QByteArray& bytes, qsizetype offset)
{
    int line = 1;
    for (qsizetype i = 0; i < offset; ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')))
            ++line;
    }
    return line;
}

}  // namespace

qsizetype firstInvalidUtf8(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        int more = 0;
        char32_t code = 0;
        char32_t least = 0;
        if (b >= 0xC2 && b <= 0xDF)
            more = 1, code = b & 0x1F, least = 0x80;
        else if (b >= 0xE0 && b <= 0xEF)
            more = 2, code = b & 0x0F, least = 0x800;
        else if (b >= 0xF0 && b <= 0xF4)
            more = 3, code = b & 0x07, least = 0x10000;
        else
            return i;
        for (int k = 1; k <= more; ++k) {
            if (i + k >= n || (p[i + k] & 0xC0) != 0x80)
                return i;
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        if (code < least || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return i;
        i += more + 1;
    }
    return -1;
}

CsvReader::CsvReader(const QByteArray& bytes, std::optional<CsvEncoding> encoding)
{
    if (const QString unicode = mailbox::unicodeEncodingOf(bytes); !unicode.isEmpty())
        throw CsvError(1, 1, unicode + QStringLiteral(" text; save the file as UTF-8 or windows-1252"));
    const bool marked = bytes.startsWith("\xEF\xBB\xBF") && encoding != CsvEncoding::Windows1252;
    const QByteArray body = marked ? bytes.mid(3) : bytes;
    const qsizetype invalid = encoding == CsvEncoding::Windows1252 ? -1 : firstInvalidUtf8(body);
    if ((marked || encoding == CsvEncoding::Utf8) && invalid >= 0)
        throw CsvError(lineOfOffset(body, invalid), 1, QStringLiteral("not well-formed UTF-8"));
    if (!encoding && !marked && invalid < 0)
        guessedUtf8_ = std::any_of(body.begin(), body.end(),
                                   [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    encoding_ = marked || encoding == CsvEncoding::Utf8 || guessedUtf8_ ? CsvEncoding::Utf8 : CsvEncoding::Windows1252;
    // A byte-order mark after the one taken off above is text (QString::fromUtf8 would drop it).
    text_ = encoding_ == CsvEncoding::Utf8
                ? QString(QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom)(body))
                : platform::decodeAnsi(body);
}

void CsvReader::skipLineEnd()
{
    if (pos_ >= text_.size())
        return;
    if (text_[pos_] == u'\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == u'\n')
        ++pos_;
    ++pos_;
    ++line_;
}

QString CsvReader::quotedField(int column)
{
    const int startLine = line_;
    QString value;
    ++pos_;  // the opening quote
    for (;;) {
        const qsizetype quote = text_.indexOf(u'"', pos_);
        if (quote < 0)
            throw CsvError(startLine, column, QStringLiteral("the quoted value is never closed"));
        for (qsizetype i = pos_; i < quote; ++i) {
            if (text_[i] == u'\n' || (text_[i] == u'\r' && (i + 1 >= quote || text_[i + 1] != u'\n')))
                ++line_;
        }
        value += QStringView(text_).sliced(pos_, quote - pos_);
        pos_ = quote + 1;
        if (pos_ < text_.size() && text_[pos_] == u'"') {
            value += u'"';
            ++pos_;
            continue;
        }
        break;
    }
    if (pos_ < text_.size() && text_[pos_] != u',' && !isLineEnd(text_[pos_]))
        throw CsvError(line_, column, QStringLiteral("text after the closing quote; quote the whole value"));
    return value;
}

QString CsvReader::plainField(int column)
{
    const qsizetype n = text_.size();
    qsizetype end = pos_;
    while (end < n && text_[end] != u',' && !isLineEnd(text_[end])) {
        if (text_[end] == u'"')
            throw CsvError(line_, column,
                           QStringLiteral("a double quote inside an unquoted value; quote the value and double "
                                          "the quote"));
        ++end;
    }
    QString value = text_.sliced(pos_, end - pos_);
    pos_ = end;
    return value;
}

bool CsvReader::next(CsvRecord& record)
{
    while (pos_ < text_.size() && isLineEnd(text_[pos_]))
        skipLineEnd();
    if (pos_ >= text_.size())
        return false;
    record.fields.clear();
    record.lines.clear();
    for (;;) {
        const int column = static_cast<int>(record.fields.size()) + 1;
        record.lines.push_back(line_);
        record.fields.append(pos_ < text_.size() && text_[pos_] == u'"' ? quotedField(column) : plainField(column));
        if (pos_ < text_.size() && text_[pos_] == u',') {
            ++pos_;
            continue;
        }
        skipLineEnd();
        return true;
    }
}

}  // namespace vm::vmbox
