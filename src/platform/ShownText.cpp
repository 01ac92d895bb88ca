#include "ShownText.h"

#include "NativeName.h"

#include <algorithm>

namespace vm::platform {

bool isControlCharacter(QChar c) { return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F); }

QString withControlsEscaped(const QString& text)
{
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return isControlCharacter(c) || c.isSurrogate(); }))
        return text;
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isControlCharacter(c))
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else if (const int byte = escapedByte(text, i); byte >= 0)
            shown += QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
        else if (isLoneSurrogate(text, i))
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

}  // namespace vm::platform
