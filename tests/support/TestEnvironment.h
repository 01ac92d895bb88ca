#pragma once
// A test program run by hand gets the environment ctest gives it (offscreen
// platform, C.UTF-8, UTC, cache and configuration folders in the build),
// variable by variable where the caller has not set one. Called before the
// application object is made, which reads the platform.

#include <QByteArray>
#include <QList>

#include <cstdlib>
#include <ctime>

namespace vm::test {

// `settings`: "NAME=value" lines, as tests/CMakeLists.txt hands them over.
inline void setTestEnvironment(const char* settings)
{
    for (const QByteArray& setting : QByteArray(settings).split('\n')) {
        const qsizetype equals = setting.indexOf('=');
        if (equals > 0)
            ::setenv(setting.left(equals).constData(), setting.mid(equals + 1).constData(), 0);
    }
    ::tzset();
}

}  // namespace vm::test
