#include "JsonText.h"

#include "SafeText.h"

#include "platform/NativeName.h"

namespace vm::vmbox {

void appendJsonString(QString& out, const QString& text)
{
    out += u'"';
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // Half of no pair (a byte of a file name that is no UTF-8): kept as its escape.
        const bool lone = platform::isLoneSurrogate(text, i);
        switch (c.unicode()) {
            case u'"': out += QStringLiteral("\\\""); break;
            case u'\\': out += QStringLiteral("\\\\"); break;
            case u'\n': out += QStringLiteral("\\n"); break;
            case u'\r': out += QStringLiteral("\\r"); break;
            case u'\t': out += QStringLiteral("\\t"); break;
            default:
                if (isControlCharacter(c) || lone)
                    out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
                else
                    out += c;
        }
    }
    out += u'"';
}

}  // namespace vm::vmbox
