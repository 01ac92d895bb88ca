// Trace line texts: counter, time field, frame text, the Arguments cut and
// the memory and user fields.
#include "failsafe/TraceLine.h"
#include "support/Digest.h"
#include "support/EnvironmentScope.h"

#include <QLocale>
#include <QStringList>

#include <gtest/gtest.h>

namespace vm::failsafe {
namespace {

TEST(TraceLineTest, TimeAndCounterFields)
{
    const struct {
        std::int64_t ms;
        const char* text;
    } cases[] = {
        {0, "00000.0000"},        {31, "00000.0031"},          {1234, "00000.1234"}, {123456, "00012.3456"},
        {99999999, "09999.9999"}, {1234567890, "123456.7890"}, {-12, "-00000.0012"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(traceTimeText(c.ms), QString::fromLatin1(c.text)) << c.ms;

    {
        const test::EnvironmentScope german({}, QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(traceTimeText(1234), QStringLiteral("00000.1234"));
    }
    for (const char* counter : {"00001", "99999", "123456", "-00001"})
        EXPECT_EQ(traceCounterText(QByteArray(counter).toInt()), QString::fromLatin1(counter));
}

// Every combination of the include switches, for an entry and an exit line
// and for arguments with and without a colon, pinned as a whole.
TEST(TraceLineTest, IncludeSwitchesShapeTheTail)
{
    QStringList lines;
    for (const char* arguments : {"()", "(strIn$=a:b)"})
        for (int switches = 0; switches < 32; ++switches) {
            TraceLineFields f;
            f.appTag = QStringLiteral("[RiVaVaz] ");
            f.counter = 3;
            f.milliseconds = 40;
            f.exitLine = switches & 16;
            f.frameText = QStringLiteral("\t\tfrmVmailCfg.frm : Function Text2VmbId : ") + QLatin1String(arguments);
            f.includeArguments = switches & 1;
            f.includeResources = switches & 2;
            f.includeMemory = switches & 4;
            f.includeUser = switches & 8;
            f.memoryLoad = 42;
            f.availPhysical = 23134208;
            lines << formatTraceLine(f);
        }
    EXPECT_EQ(test::digest(lines), "ae4209eb1e75cf04") << lines.join(QString()).toStdString();
}

}  // namespace
}  // namespace vm::failsafe
