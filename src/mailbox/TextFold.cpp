#include "TextFold.h"

namespace vm::mailbox {

QString foldCase(const QString& text)
{
    const QChar* in = text.constData();
    const qsizetype n = text.size();
    qsizetype first = 0;
    while (first < n && foldCaseUnit(in[first]) == in[first].unicode())
        ++first;
    if (first == n)
        return text;
    QString folded = text;
    QChar* out = folded.data();
    for (qsizetype i = first; i < n; ++i)
        out[i] = QChar(foldCaseUnit(out[i]));
    return folded;
}

}  // namespace vm::mailbox
