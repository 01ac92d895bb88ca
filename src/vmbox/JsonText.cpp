#include "JsonText.h"

#include "SafeText.h"

namespace vm::vmbox {

void appendJsonString(QString& out, const QString& text)
{
    out += u'"';
    for (const QChar c : text) {
        switch (c.unicode()) {
            case u'"': out += QStringLiteral("\\\""); break;
            case u'\\': out += QStringLiteral("\\\\"); break;
            case u'\n': out += QStringLiteral("\\n"); break;
            case u'\r': out += QStringLiteral("\\r"); break;
            case u'\t': out += QStringLiteral("\\t"); break;
            default:
                if (isControlCharacter(c))
                    out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
                else
                    out += c;
        }
    }
    out += u'"';
}

}  // namespace vm::vmbox
