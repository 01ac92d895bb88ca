// The INI engine on arbitrary file contents: reads of arbitrary names never
// crash, and a write changes only the key written: reading any other key
// gives the same value before and after.
#include "FuzzSupport.h"

#include "platform/IniProfile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vm;
    if (size < 4)
        return 0;
    // Leading bytes pick the names; the rest is the file.
    const QString section = QStringLiteral("S%1").arg(data[0] % 4);
    const QString key = QStringLiteral("k%1").arg(data[1] % 4);
    const QString otherKey = QStringLiteral("k%1").arg((data[1] + 1) % 4);
    const QString value = QStringLiteral("v%1").arg(data[2]);
    const QString path = fuzz::writeFuzzFile(QStringLiteral("fuzz.ini"), data + 3, size - 3);

    const QString before = platform::getPrivateProfileString(section, otherKey, "-", 512, path);
    const QString otherSection = platform::getPrivateProfileString("Other", key, "-", 512, path);
    if (platform::writePrivateProfileString(section, key, value, path)) {
        if (platform::getPrivateProfileString(section, key, "-", 512, path) != value)
            std::abort();
        if (platform::getPrivateProfileString(section, otherKey, "-", 512, path) != before)
            std::abort();
        if (platform::getPrivateProfileString("Other", key, "-", 512, path) != otherSection)
            std::abort();
    }
    return 0;
}
