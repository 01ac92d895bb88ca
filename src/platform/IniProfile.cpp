#include "IniProfile.h"

#include "AnsiText.h"
#include "FileSystem.h"
#include "RuntimeError.h"

#include <QByteArrayView>
#include <QFileInfo>
#include <QStringView>

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <optional>

namespace vm::platform {

namespace {

// ---------------------------------------------------------------------------
// Lines of an INI file
//
// The engine works on the file's windows-1252 bytes: every character that
// gives a line its structure is ASCII, so only names being compared and the
// value found need decoding, and positions are byte offsets a write can
// splice at. A line ends at CR LF, at a lone CR or at a lone LF: files edited
// with other tools often have LF line ends and the engine reads them all the
// same.

struct Line {
    qsizetype begin = 0;       // first byte
    qsizetype contentEnd = 0;  // just before the line end
    qsizetype next = 0;        // first byte of the following line

    bool hasLineEnd() const { return next > contentEnd; }
};

class LineReader {
public:
    explicit LineReader(QByteArrayView bytes) : bytes_(bytes) {}

    bool next(Line& line)
    {
        const qsizetype n = bytes_.size();
        if (pos_ >= n)
            return false;
        const char* p = bytes_.data();
        qsizetype i = pos_;
        while (i < n && p[i] != '\r' && p[i] != '\n')
            ++i;
        line.begin = pos_;
        line.contentEnd = i;
        if (i < n) {
            if (p[i] == '\r' && i + 1 < n && p[i + 1] == '\n')
                ++i;
            ++i;
        }
        line.next = i;
        pos_ = i;
        return true;
    }

private:
    QByteArrayView bytes_;
    qsizetype pos_ = 0;
};

// Blanks as the profile functions skip them around names and values.
bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f'; }
bool isBlank(char c) { return isBlank(static_cast<char16_t>(static_cast<unsigned char>(c))); }
bool isBlank(QChar c) { return isBlank(c.unicode()); }

template <class View>
View trimmed(View s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.sliced(b, e - b);
}

QString withoutTrailingBlanks(const QString& s)
{
    qsizetype e = s.size();
    while (e > 0 && isBlank(s[e - 1]))
        --e;
    return s.left(e);
}

char16_t asciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c; }

// A name in the file against a wanted one, ignoring letter case. One byte is
// one character, so names of different length never match; plain ASCII is
// compared on the spot, anything else after decoding.
bool sameName(QByteArrayView stored, QStringView wanted)
{
    if (stored.size() != wanted.size())
        return false;
    for (qsizetype i = 0; i < stored.size(); ++i) {
        const auto b = static_cast<unsigned char>(stored[i]);
        const char16_t w = wanted[i].unicode();
        if (b >= 0x80 || w >= 0x80)
            return platform::decodeAnsi(stored.toByteArray()).compare(wanted, Qt::CaseInsensitive) == 0;
        if (asciiLower(b) != asciiLower(w))
            return false;
    }
    return true;
}

enum class LineKind {
    Blank,
    Comment,  // first non-blank character ";"
    Section,  // "[" name "]"; anything after the first "]" is ignored
    Entry,    // name "=" value
    Other,    // neither: an unclosed "[" or a line without "="; never matches
};

struct ParsedLine {
    LineKind kind = LineKind::Blank;
    QByteArrayView name;   // section or key name, trimmed
    QByteArrayView value;  // entry value, trimmed, quotes still on
};

// With `wantEntries` false only section headers are told apart: lines
// outside the section of interest need no closer look.
ParsedLine parseLine(QByteArrayView content, bool wantEntries)
{
    const QByteArrayView s = trimmed(content);
    if (s.isEmpty())
        return {};
    if (s.front() == ';')
        return {LineKind::Comment, {}, {}};
    if (s.front() == '[') {
        const qsizetype close = s.indexOf(']');
        if (close < 0)
            return {LineKind::Other, {}, {}};
        return {LineKind::Section, trimmed(s.sliced(1, close - 1)), {}};
    }
    if (!wantEntries)
        return {LineKind::Other, {}, {}};
    const qsizetype eq = s.indexOf('=');
    if (eq < 0)
        return {LineKind::Other, {}, {}};
    return {LineKind::Entry, trimmed(s.first(eq)), trimmed(s.sliced(eq + 1))};
}

ParsedLine parseLine(QByteArrayView bytes, const Line& line, bool wantEntries)
{
    return parseLine(bytes.sliced(line.begin, line.contentEnd - line.begin), wantEntries);
}

// A value wholly enclosed in one pair of matching double or single quotes
// loses them; anything else is returned as it stands.
QByteArrayView unquoted(QByteArrayView value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

// The value of the first matching key in the first matching section.
std::optional<QByteArrayView> findValue(QByteArrayView bytes, QStringView section, QStringView key)
{
    LineReader reader(bytes);
    Line line;
    bool inSection = false;
    while (reader.next(line)) {
        const ParsedLine parsed = parseLine(bytes, line, inSection);
        if (parsed.kind == LineKind::Section) {
            if (inSection)
                return std::nullopt;  // later sections of the same name are not looked at
            inSection = sameName(parsed.name, section);
        } else if (inSection && parsed.kind == LineKind::Entry && sameName(parsed.name, key)) {
            return parsed.value;
        }
    }
    return std::nullopt;
}

// ---------------------------------------------------------------------------
// Writing

// Text handed to the profile functions ends at its first NUL, as a C string
// would. Line breaks inside a name or value would break the file up into
// lines the engine then reads as other keys or sections, so each CR LF, CR or
// LF is written as one blank instead: the file stays parseable and every
// other key keeps its value. (The system function would write them raw.)
QString asProfileText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\0')
            break;
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out.append(u' ');
        } else {
            out.append(c);
        }
    }
    return out;
}

const QByteArray kCrLf = QByteArrayLiteral("\r\n");

// The file content with section/key set to value, every other byte kept:
// - an existing key (first of its name in the first section of the name) has
//   its line's text replaced by "key=value", spelled as the caller gave the
//   key; the line keeps its own line end;
// - a missing key is added after the last entry of its section (after the
//   header when it has none), so comments and blank lines in front of the
//   next section stay with that section;
// - a missing section is appended at the end of the file with its key.
// New lines end in CR LF; a last line without line end gets one first.
QByteArray withValue(const QByteArray& bytes, QStringView section, QStringView key, const QString& value)
{
    const QByteArray entry = platform::encodeAnsi(key.toString() + u'=' + value);

    LineReader reader(bytes);
    Line line;
    bool inSection = false;
    std::optional<Line> insertAfter;  // header or last entry of the section
    while (reader.next(line)) {
        const ParsedLine parsed = parseLine(bytes, line, inSection);
        if (parsed.kind == LineKind::Section) {
            if (inSection)
                break;
            if (sameName(parsed.name, section)) {
                inSection = true;
                insertAfter = line;
            }
        } else if (inSection && parsed.kind == LineKind::Entry) {
            if (sameName(parsed.name, key)) {
                // Replace the line's text, keep its own line end.
                QByteArray out = bytes;
                out.replace(line.begin, line.contentEnd - line.begin, entry);
                return out;
            }
            insertAfter = line;
        }
    }

    QByteArray out = bytes;
    if (insertAfter) {
        out.insert(insertAfter->next, (insertAfter->hasLineEnd() ? QByteArray() : kCrLf) + entry + kCrLf);
        return out;
    }
    const bool lastLineOpen = !bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r');
    if (lastLineOpen)
        out += kCrLf;
    out += '[' + platform::encodeAnsi(section.toString()) + ']' + kCrLf + entry + kCrLf;
    return out;
}

// Read-only as the owner of the file sees it: no write permission for us, or
// no write permission for anybody (the read-only attribute, which holds even
// for an administrator).
bool isReadOnly(const struct stat& st, const QByteArray& nativePath)
{
    return (st.st_mode & 0222) == 0 || ::access(nativePath.constData(), W_OK) != 0;
}

enum class FileState { Missing, Present, Unusable };

FileState fileState(const QString& path)
{
    const QByteArray native = nativeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return errno == ENOENT ? FileState::Missing : FileState::Unusable;
    if (!S_ISREG(st.st_mode) || isReadOnly(st, native))
        return FileState::Unusable;
    return FileState::Present;
}

bool folderWritable(const QString& path)
{
    const QByteArray native = nativeName(QFileInfo(path).absolutePath());
    struct stat st {};
    return ::stat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode) && !isReadOnly(st, native);
}

}  // namespace

QString profileString(QByteArrayView bytes, const QString& section, const QString& key, const QString& defaultValue,
                      int bufferSize)
{
    if (bufferSize <= 0)
        return {};
    // The system function drops trailing blanks of the default.
    QString result = withoutTrailingBlanks(defaultValue);
    if (const auto value = findValue(bytes, trimmed(QStringView(section)), trimmed(QStringView(key))))
        result = platform::decodeAnsi(unquoted(*value).toByteArray());
    // The caller's buffer holds a C string of at most bufferSize - 1 characters.
    const qsizetype nul = result.indexOf(u'\0');
    if (nul >= 0)
        result.truncate(nul);
    if (result.size() > bufferSize - 1)
        result.truncate(bufferSize - 1);
    return result;
}

QString getPrivateProfileString(const QString& section, const QString& key, const QString& defaultValue, int bufferSize,
                                const QString& path)
{
    // A file that cannot be read reads as one without the key.
    QString result;
    if (!ignoreErrors([&] {
            const QByteArray bytes = path.isEmpty() ? QByteArray() : platform::readFile(path);
            result = profileString(bytes, section, key, defaultValue, bufferSize);
        }))
        result = profileString({}, section, key, defaultValue, bufferSize);
    return result;
}

bool writePrivateProfileString(const QString& section, const QString& key, const QString& value, const QString& path)
{
    return ignoreErrors([&] {
        if (path.isEmpty())
            raiseError(err::BadFileNameOrNumber);
        // The replacement goes through a link to the file it names (when the
        // file layer may follow it), so the folder that matters is the file's.
        const QString canonical = platform::realPath(path);
        const QString target = canonical.isEmpty() ? path : canonical;
        const FileState state = fileState(path);
        if (state == FileState::Unusable || !folderWritable(target))
            raiseError(err::PermissionDenied);
        const QByteArray old = state == FileState::Present ? platform::readFile(path) : QByteArray();
        const QString sectionText = asProfileText(section);
        const QString keyText = asProfileText(key);
        const QByteArray updated = withValue(old, trimmed(QStringView(sectionText)), trimmed(QStringView(keyText)),
                                             asProfileText(value));
        if (state == FileState::Present && updated == old)
            return;
        platform::replaceFileAtomically(path, updated);
    });
}

}  // namespace vm::platform
