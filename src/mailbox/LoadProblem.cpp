#include "LoadProblem.h"

#include <cstring>

namespace vm::mailbox {

QString LoadProblem::describe() const
{
    QString where;
    if (line > 0)
        where = QStringLiteral("line %1").arg(line);
    if (offset >= 0)
        where += (where.isEmpty() ? QString() : QStringLiteral(", ")) + QStringLiteral("byte offset %1").arg(offset);
    return file + QStringLiteral(": ") + what + (where.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(where));
}

namespace {

bool startsWith(QByteArrayView bytes, const char* mark, qsizetype length)
{
    return bytes.size() >= length && std::memcmp(bytes.data(), mark, static_cast<std::size_t>(length)) == 0;
}

// Which of the first four bytes are NUL, as a pattern: ASCII text in UTF-16
// or UTF-32 has its NULs in fixed places.
QString unicodeByNuls(QByteArrayView bytes)
{
    if (bytes.size() < 4)
        return {};
    const auto nul = [&](int i) { return bytes[i] == '\0'; };
    if (!nul(0) && nul(1) && nul(2) && nul(3))
        return QStringLiteral("UTF-32 (little-endian, without a byte-order mark)");
    if (nul(0) && nul(1) && nul(2) && !nul(3))
        return QStringLiteral("UTF-32 (big-endian, without a byte-order mark)");
    if (!nul(0) && nul(1) && !nul(2) && nul(3))
        return QStringLiteral("UTF-16 (little-endian, without a byte-order mark)");
    if (nul(0) && !nul(1) && nul(2) && !nul(3))
        return QStringLiteral("UTF-16 (big-endian, without a byte-order mark)");
    return {};
}

}  // namespace

QString unicodeEncodingOf(QByteArrayView bytes)
{
    // UTF-32's little-endian mark begins with UTF-16's: test it first.
    if (startsWith(bytes, "\xFF\xFE\0\0", 4))
        return QStringLiteral("UTF-32 (little-endian, with a byte-order mark)");
    if (startsWith(bytes, "\0\0\xFE\xFF", 4))
        return QStringLiteral("UTF-32 (big-endian, with a byte-order mark)");
    if (startsWith(bytes, "\xFF\xFE", 2))
        return QStringLiteral("UTF-16 (little-endian, with a byte-order mark)");
    if (startsWith(bytes, "\xFE\xFF", 2))
        return QStringLiteral("UTF-16 (big-endian, with a byte-order mark)");
    return unicodeByNuls(bytes);
}

std::optional<LoadProblem> encodingProblem(const QString& file, QByteArrayView bytes)
{
    if (const QString encoding = unicodeEncodingOf(bytes); !encoding.isEmpty())
        return LoadProblem{file, QStringLiteral("is %1 text, not windows-1252").arg(encoding), 0, 0};
    const qsizetype nul = bytes.indexOf('\0');
    if (nul < 0)
        return std::nullopt;
    // Lines end at CR (or CR LF), as the load reads them.
    const int line = 1 + static_cast<int>(bytes.first(nul).count('\r'));
    return LoadProblem{file, QStringLiteral("holds a NUL byte, which no windows-1252 text holds"), line, nul};
}

}  // namespace vm::mailbox
