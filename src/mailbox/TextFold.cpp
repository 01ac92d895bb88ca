#include "TextFold.h"

namespace vm {

namespace {

char16_t foldUnit(char16_t c)
{
    if (c < 0x80)
        return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
    return QChar(c).toCaseFolded().unicode();
}

}  // namespace

QString foldCase(const QString& text)
{
    const QChar* in = text.constData();
    const qsizetype n = text.size();
    qsizetype first = 0;
    while (first < n && foldUnit(in[first].unicode()) == in[first].unicode())
        ++first;
    if (first == n)
        return text;
    QString folded = text;
    QChar* out = folded.data();
    for (qsizetype i = first; i < n; ++i)
        out[i] = QChar(foldUnit(out[i].unicode()));
    return folded;
}

}  // namespace vm
