#pragma once
// A short fingerprint of many texts: pins a whole table's output (every error
// number's text, say) in one comparison, since a change to any entry changes
// it. Readable rows next to it show the boundaries and quirks.

#include <QCryptographicHash>
#include <QString>
#include <QStringList>

#include <string>

namespace vm::test {

inline std::string digest(const QStringList& lines)
{
    return QCryptographicHash::hash(lines.join(QLatin1Char('\n')).toUtf8(), QCryptographicHash::Sha1)
        .toHex()
        .left(16)
        .toStdString();
}

// The digest of "n=text" for every n from `first` to `last`.
template <class TextOf>
std::string digestOver(int first, int last, TextOf textOf)
{
    QStringList lines;
    for (int n = first; n <= last; ++n)
        lines << QString::number(n) + QLatin1Char('=') + textOf(n);
    return digest(lines);
}

}  // namespace vm::test
