// File names as bytes: any name comes back from its text as the very bytes it
// was, UTF-8 reads as the text it is, and shown escaped a name holds no
// control character and no lone surrogate, so a terminal only shows it.
#include "platform/NativeName.h"
#include "platform/ShownText.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vm::platform;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = nameText(bytes);
    if (nativeName(text) != bytes)
        std::abort();
    bool escaped = false;
    for (qsizetype i = 0; i < text.size(); ++i)
        escaped = escaped || escapedByte(text, i) >= 0;
    if (!escaped && QString::fromUtf8(bytes) != text)
        std::abort();
    const QString shown = withControlsEscaped(text);
    for (qsizetype i = 0; i < shown.size(); ++i)
        if (isControlCharacter(shown[i]) || isLoneSurrogate(shown, i))
            std::abort();
    return 0;
}
