#include "SafeFileName.h"

namespace vm {

bool isSafeFileNamePart(const QString& part)
{
    if (part.contains(QLatin1String("..")))
        return false;
    for (const QChar c : part) {
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

}  // namespace vm
