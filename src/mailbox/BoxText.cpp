#include "BoxText.h"

namespace vm::mailbox {

QString digitsOnly(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar ch : text) {
        if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9'))
            kept += ch;
    }
    return kept;
}

QString trimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

}  // namespace vm::mailbox
