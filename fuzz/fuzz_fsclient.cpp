// The error module's settings file on arbitrary contents: reading never
// raises, and a circular log left on has records that hold at least their
// CR LF and at least one slot to rotate through.
#include "FuzzSupport.h"

#include "failsafe/SettingsFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vm;
    const QString path = fuzz::writeFuzzFile(QStringLiteral("FSCLIENT.INI"), data, size);
    const failsafe::Settings s = failsafe::readSettings(path);
    if (s.circularLog && (s.recordSize < 2 || s.maxRecords < 1))
        std::abort();
    return 0;
}
