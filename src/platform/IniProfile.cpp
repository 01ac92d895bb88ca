#include "IniProfile.h"

#include "AnsiText.h"
#include "FileSystem.h"
#include "RuntimeError.h"

#include <QFileInfo>
#include <QStringView>

#include <cerrno>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace vm::ini {

namespace {

// ---------------------------------------------------------------------------
// Lines of an INI text
//
// The text is the file decoded from windows-1252, one character per byte, so
// every position below is also a byte offset into the file. A line ends at
// CR LF, at a lone CR or at a lone LF: files edited with other tools often
// have LF line ends and the engine reads them all the same.

struct Line {
    qsizetype begin = 0;       // first character
    qsizetype contentEnd = 0;  // just before the line end
    qsizetype next = 0;        // first character of the following line

    bool hasLineEnd() const { return next > contentEnd; }
};

class LineReader {
public:
    explicit LineReader(QStringView text) : text_(text) {}

    bool next(Line& line)
    {
        const qsizetype n = text_.size();
        if (pos_ >= n)
            return false;
        line.begin = pos_;
        qsizetype i = pos_;
        const QChar* p = text_.data();
        while (i < n && p[i] != u'\r' && p[i] != u'\n')
            ++i;
        line.contentEnd = i;
        if (i < n) {
            if (p[i] == u'\r' && i + 1 < n && p[i + 1] == u'\n')
                ++i;
            ++i;
        }
        line.next = i;
        pos_ = i;
        return true;
    }

private:
    QStringView text_;
    qsizetype pos_ = 0;
};

// Blanks as the profile functions skip them around names and values.
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f';
}

QStringView trimmed(QStringView s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

QString withoutTrailingBlanks(const QString& s)
{
    qsizetype e = s.size();
    while (e > 0 && isBlank(s[e - 1]))
        --e;
    return s.left(e);
}

bool sameName(QStringView a, QStringView b)
{
    return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
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
    QStringView name;   // section or key name, trimmed
    QStringView value;  // entry value, trimmed, quotes still on
};

ParsedLine parseLine(QStringView content)
{
    const QStringView s = trimmed(content);
    if (s.isEmpty())
        return {};
    if (s.front() == u';')
        return {LineKind::Comment, {}, {}};
    if (s.front() == u'[') {
        const qsizetype close = s.indexOf(u']');
        if (close < 0)
            return {LineKind::Other, {}, {}};
        return {LineKind::Section, trimmed(s.mid(1, close - 1)), {}};
    }
    const qsizetype eq = s.indexOf(u'=');
    if (eq < 0)
        return {LineKind::Other, {}, {}};
    return {LineKind::Entry, trimmed(s.left(eq)), trimmed(s.mid(eq + 1))};
}

// A value wholly enclosed in one pair of matching double or single quotes
// loses them; anything else is returned as it stands.
QStringView unquoted(QStringView value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

// The value of the first matching key in the first matching section.
std::optional<QStringView> findValue(QStringView text, QStringView section, QStringView key)
{
    LineReader reader(text);
    Line line;
    bool inSection = false;
    while (reader.next(line)) {
        const ParsedLine parsed = parseLine(text.mid(line.begin, line.contentEnd - line.begin));
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

const QString kCrLf = QStringLiteral("\r\n");

// The file content with section/key set to value. Only the bytes of the
// changed or added lines differ from `bytes`.
QByteArray withValue(const QByteArray& bytes, const QString& section, const QString& key, const QString& value)
{
    const QString text = ansi::decode(bytes);
    const QString entry = key + u'=' + value;

    LineReader reader(text);
    Line line;
    bool inSection = false;
    std::optional<Line> insertAfter;  // header or last entry of the section
    while (reader.next(line)) {
        const ParsedLine parsed = parseLine(QStringView(text).mid(line.begin, line.contentEnd - line.begin));
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
                out.replace(line.begin, line.contentEnd - line.begin, ansi::encode(entry));
                return out;
            }
            insertAfter = line;
        }
    }

    QByteArray out = bytes;
    if (insertAfter) {
        const QString added = (insertAfter->hasLineEnd() ? QString() : kCrLf) + entry + kCrLf;
        out.insert(insertAfter->next, ansi::encode(added));
        return out;
    }
    const bool lastLineOpen = !text.isEmpty() && text.back() != u'\n' && text.back() != u'\r';
    const QString added = (lastLineOpen ? kCrLf : QString()) + u'[' + section + u']' + kCrLf + entry + kCrLf;
    out.append(ansi::encode(added));
    return out;
}

// Writes go through a symbolic link to the file it names, so that replacing
// the file does not replace the link.
QString writeTarget(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
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
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return errno == ENOENT ? FileState::Missing : FileState::Unusable;
    if (!S_ISREG(st.st_mode) || isReadOnly(st, native))
        return FileState::Unusable;
    return FileState::Present;
}

bool folderWritable(const QString& path)
{
    const QByteArray native = QFile::encodeName(QFileInfo(path).absolutePath());
    struct stat st {};
    return ::stat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode) && !isReadOnly(st, native);
}

}  // namespace

QString getPrivateProfileString(const QString& section, const QString& key, const QString& defaultValue,
                                int bufferSize, const QString& path)
{
    if (bufferSize <= 0)
        return {};
    // The system function drops trailing blanks of the default.
    QString result = withoutTrailingBlanks(defaultValue);
    ignoreErrors([&] {
        if (path.isEmpty())
            return;
        const QString text = ansi::decode(fs::readFile(path));
        if (const auto value = findValue(text, trimmed(section), trimmed(key)))
            result = unquoted(*value).toString();
    });
    // The caller's buffer holds a C string of at most bufferSize - 1 characters.
    const qsizetype nul = result.indexOf(u'\0');
    if (nul >= 0)
        result.truncate(nul);
    if (result.size() > bufferSize - 1)
        result.truncate(bufferSize - 1);
    return result;
}

bool writePrivateProfileString(const QString& section, const QString& key, const QString& value,
                               const QString& path)
{
    return ignoreErrors([&] {
        if (path.isEmpty())
            raiseError(err::BadFileNameOrNumber);
        const QString target = writeTarget(path);
        const FileState state = fileState(target);
        if (state == FileState::Unusable || !folderWritable(target))
            raiseError(err::PermissionDenied);
        const QByteArray old = state == FileState::Present ? fs::readFile(target) : QByteArray();
        const QByteArray updated = withValue(old, trimmed(asProfileText(section)).toString(),
                                             trimmed(asProfileText(key)).toString(), asProfileText(value));
        if (state == FileState::Present && updated == old)
            return;
        fs::replaceFileAtomically(target, updated);
    });
}

}  // namespace vm::ini
