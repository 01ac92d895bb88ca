// FSCLIENT.INI: defaults with and without the file, the two Boolean rules,
// where log names lead (never through a link or out of the folder on the word
// of another account) and the circular log sizes.
#include "TraceFixture.h"

#include "failsafe/SettingsFile.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace vm::failsafe {
namespace {

using namespace Qt::StringLiterals;

class SettingsFileTest : public test::TraceFixture {
protected:
    Settings read() const { return readSettings(app_.file(QStringLiteral("FSCLIENT.INI"))); }
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
                    .arg(QString::number(s.recordSize), QString::number(s.maxRecords), s.circularFileName,
                         s.logFileName, s.emailAddress, s.bugDatabase, s.bugAddress, s.bugProject, s.bugAssignedTo);
        return text.replace(app_.path(), QStringLiteral("<app>")).toStdString();
    }
    // The start-up with both logs on; FSCLIENT.INI belongs to `owner` with `mode`.
    void start(const QString& logFile, const QString& circular, uid_t owner = 0, mode_t mode = 0600)
    {
        resetState();
        writeSettings(
            u"[Log File]\r\nCircularLog=1\r\nWrite To Disk=1\r\nCapture To Disk=1\r\nLog File=%1\r\n"
            "[CircularLog]\r\nFileName=%2\r\n"_s.arg(logFile, circular));
        const QByteArray settings = QFile::encodeName(app_.file(u"FSCLIENT.INI"_s));
        ASSERT_EQ(::chown(settings, owner, owner) | ::chmod(settings, mode), 0);
        fsSTART();
    }
    QTemporaryDir elsewhere_{app_.path() + u"-XXXXXX"_s};
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
    EXPECT_EQ(described(), "11111100000 256|20|trace.log|my.log|ops@example.com|db|bugs@example.com|QV|Kim");

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

TEST_F(SettingsFileTest, LinksAnotherAccountPlantedAtLogNamesAreNotFollowed)
{
    QFile secret(elsewhere_.filePath(u"root-only"_s));
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly) && secret.write("secret") && secret.flush() &&
                secret.setPermissions({}));
    for (const char* name : {"circ.log", "trace.log"}) {
        const QByteArray link = QFile::encodeName(app_.file(QLatin1String(name)));
        ASSERT_EQ(::symlink(QFile::encodeName(secret.fileName()), link) | ::lchown(link, 1, 1), 0);
    }
    start(u"trace.log"_s, u"circ.log"_s);
    EXPECT_EQ(app_.read(u"circ.log"_s) + app_.read(u"trace.log"_s), "secretsecret");
    EXPECT_TRUE(state().startNote.startsWith(u"; circular log \"circ.log\" is off: "_s) &&
                state().startNote.contains(u"; capture and error log \"trace.log\" is off: "_s));
}

TEST_F(SettingsFileTest, NamesLeavingTheFolderNeedSettingsOnlyTheOperatorCanWrite)
{
    // Outside, in a folder whose name begins with the application folder's;
    // the capture log's name is relative, with "\\" for "/".
    const QString absolute = elsewhere_.filePath(u"abs.log"_s), relative = elsewhere_.filePath(u"rel.log"_s);
    const QString leaving = QDir(app_.path()).relativeFilePath(relative).replace(u'/', u'\\');
    const std::tuple<uid_t, mode_t, const char*> cases[] = {
        {0, 0600, nullptr}, {1, 0600, "the account daemon owns the file"}, {0, 0620, "may write the file"}};
    for (const auto& [owner, mode, why] : cases) {
        QFile::remove(absolute), QFile::remove(relative);
        start(leaving, absolute, owner, mode);
        EXPECT_EQ(QFile::exists(absolute) + QFile::exists(relative), why ? 0 : 2) << why;
        // Both logs are off, each saying who could have chosen its name.
        EXPECT_EQ(why ? state().startNote.count(QLatin1String(why)) : state().startNote.size(), why ? 2 : 0) << why;
    }
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
