#include "SafeText.h"

namespace vm::vmbox {

qsizetype firstControlCharacter(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        if (isControlCharacter(text[i]) && text[i] != u'\t')
            return i;
    return -1;
}

QString characterCode(QChar c) { return QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')); }

}  // namespace vm::vmbox
