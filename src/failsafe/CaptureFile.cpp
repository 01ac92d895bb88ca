#include "CaptureFile.h"

#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

namespace vm::failsafe {

bool appendCaptureLine(const QString& path, const QByteArray& line)
{
    if (path.isEmpty())
        return false;
    // Line and empty line in one write, taken back whole when the disk is
    // full, so a reader never sees half of it.
    return platform::ignoreErrors([&] { platform::appendFile(path, line + QByteArrayLiteral("\r\n")); });
}

}  // namespace vm::failsafe
