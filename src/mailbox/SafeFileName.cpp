#include "SafeFileName.h"

#include <algorithm>

namespace vm::mailbox {

bool isSafeFileNamePart(const QString& part)
{
    if (part.contains(QLatin1String("..")))
        return false;
    return std::none_of(part.cbegin(), part.cend(),
                        [](QChar c) { return c == u'/' || c == u'\\' || c.category() == QChar::Other_Control; });
}

}  // namespace vm::mailbox
