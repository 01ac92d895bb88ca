// FSCLIENT.INI: defaults with and without the file, the two Boolean rules,
// the log file path and the circular log sizes.
#include "TraceFixture.h"

#include "failsafe/SettingsFile.h"

namespace vm::failsafe {
namespace {

class SettingsFileTest : public test::TraceFixture {
protected:
    Settings read() const { return readSettings(app_.file(QStringLiteral("FSCLIENT.INI")), app_.path()); }
    // Every setting in one line: the switches as 0/1, then sizes and texts.
    std::string described() const
    {
        const Settings s = read();
        QString text;
        for (const bool on :
             {s.circularLog, s.forceSystemInfo, s.writeToDisk, s.captureToDisk, s.silentRun, s.displayMode,
              s.includeResources, s.includeMemory, s.includeArguments, s.includeUser, s.attachLog})
            text += on ? u'1' : u'0';
        text += QStringLiteral(" %1|%2|%3|%4|%5|%6|%7|%8|%9")
                    .arg(QString::number(s.recordSize), QString::number(s.maxRecords), s.circularFileName, s.logFile,
                         s.emailAddress, s.bugDatabase, s.bugAddress, s.bugProject, s.bugAssignedTo);
        return text.replace(app_.path(), QStringLiteral("<app>")).toStdString();
    }
};

TEST_F(SettingsFileTest, EveryKeyOrItsDefaultIsRead)
{
    // Without the file every setting keeps its initial value; with an empty
    // one the keys' own defaults apply (the log file only with Write To Disk on).
    EXPECT_EQ(described(), "00000000000 512|100|circ0001.log||||||");
    writeSettings(QString());
    EXPECT_EQ(described(), "00000011111 512|100|circ0001.log||||||");
    writeSettings(QStringLiteral(
        "[Log File]\r\nCircularLog=1\r\nWrite To Disk=1\r\nCapture To Disk=1\r\nLog File=my.log\r\n[CircularLog]\r\nFileName=trace.log\r\nRecordSize=256\r\nMaxRecords=20\r\n"
        "[preferences]\r\nForce System Info=1\r\nSilent Run=1\r\nDisplay Mode=1\r\n[email]\r\nAddress=ops@example.com\r\n"
        "[include]\r\nResources=0\r\nMemory=0\r\nArguments=0\r\nUser=0\r\n"
        "[Bugledger]\r\nDatabase=db\r\nAddress=bugs@example.com\r\nProject=QV\r\nAssigned To=Kim\r\n"
        "[Hubworks]\r\nAttach Log=0\r\n"));
    EXPECT_EQ(described(), "11111100000 256|20|trace.log|<app>/my.log|ops@example.com|db|bugs@example.com|QV|Kim");

    // "Silent Run" has a two-byte buffer: one character survives.
    writeSettings(QStringLiteral("[preferences]\r\nSilent Run=01\r\n[Log File]\r\nCircularLog=1xyz\r\n"));
    EXPECT_FALSE(read().silentRun);
    EXPECT_TRUE(read().circularLog);
}

TEST_F(SettingsFileTest, BooleanRulesUseLeadingNumber)
{
    const struct {
        const char* text;
        bool negated, positive;
    } cases[] = {
        {"1", true, true},  {"0", false, false},   {"", false, false},  {"-1", true, false},
        {"2x", true, true}, {"abc", false, false}, {"0.5", true, true}, {" 7", true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(negatedValueRule(QString::fromLatin1(c.text)), c.negated) << c.text;
        EXPECT_EQ(positiveRule(QString::fromLatin1(c.text)), c.positive) << c.text;
    }
}

TEST_F(SettingsFileTest, LogFileNameResolution)
{
    const QString app = QStringLiteral("/srv/app");
    EXPECT_EQ(logFilePath(QStringLiteral("error.log"), app), QStringLiteral("/srv/app/error.log"));
    EXPECT_EQ(logFilePath(QStringLiteral("C:\\logs\\x.log"), app), QStringLiteral("C:/logs/x.log"));
    EXPECT_EQ(logFilePath(QStringLiteral("/var/log/x.log"), app), QStringLiteral("/var/log/x.log"));
    EXPECT_EQ(circularFilePath(QStringLiteral("logs\\c.log"), app), QStringLiteral("/srv/app/logs/c.log"));

    writeSettings(QStringLiteral("[log file]\r\nWrite To Disk=1\r\nLog File=\r\n"));
    EXPECT_EQ(read().logFile, app_.path() + QStringLiteral("/error.log"));
}

TEST_F(SettingsFileTest, UnusableCircularSizesSwitchTheLogOff)
{
    const struct {
        const char* size;
        const char* count;
        bool on;
    } cases[] = {
        {"512", "100", true}, {"abc", "100", false}, {"512", "many", false}, {"40000", "100", false},
        {"1", "100", false},  {"2", "1", true},      {"512", "0", false},    {" 300 ", "7.5", true},
    };
    for (const auto& c : cases) {
        writeSettings(
            QStringLiteral("[Log File]\r\nCircularLog=1\r\n[CircularLog]\r\nRecordSize=%1\r\nMaxRecords=%2\r\n")
                .arg(QString::fromLatin1(c.size), QString::fromLatin1(c.count)));
        EXPECT_EQ(read().circularLog, c.on) << c.size << " " << c.count;
    }
}

}  // namespace
}  // namespace vm::failsafe
