#include "SafeText.h"

#include <algorithm>

namespace vm::vmbox {

bool isControlCharacter(QChar c) { return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F); }

qsizetype firstControlCharacter(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        if (isControlCharacter(text[i]) && text[i] != u'\t')
            return i;
    return -1;
}

QString characterCode(QChar c) { return QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')); }

QString withControlsEscaped(const QString& text)
{
    if (std::none_of(text.begin(), text.end(), isControlCharacter))
        return text;
    QString shown;
    for (const QChar c : text)
        shown += isControlCharacter(c) ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0')) : QString(c);
    return shown;
}

}  // namespace vm::vmbox
