#include "config/FreeDiskSpace.h"
#include "config/RegistryIni.h"
#include "config/Settings.h"
#include "platform/AnsiText.h"
#include "support/ErrorNumberOf.h"
#include "support/TempAppFolder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <functional>
#include <optional>

using namespace vm;
using namespace vm::config;

namespace {

class ConfigLoad : public ::testing::Test {
protected:
    test::TempAppFolder app;
    void ini(const QByteArray& bytes) const { app.write("QV.INI", bytes); }
    // Into the same value every time, so that anything a load leaves stale shows.
    int load() { return test::errorNumberOf(std::bind(LoadConfig, std::ref(s), app.file("QV.INI"))); }
    // Every setting the load reads, in one line.
    std::string settings() const
    {
        QStringList texts{s.RecEditor, s.ForwardEmailSubject, s.ForwardEmailSmtpServer, s.ForwardEmailSmtpEmailAddress};
        texts << s.ForwardEmailMechanism << s.ForwardEmailBody << s.FtpServer << s.FtpDir << s.FtpUser << s.FtpPassword;
        texts << s.RunCommandAfterRec;
        return QStringLiteral("%1 %2 %3").arg(s.RecLengthMin).arg(s.RecLengthMax).arg(texts.join(u'|')).toStdString();
    }
    Settings s;
};

const QByteArray kFullIni =
    "[PlayRecordConfig]\r\nRecEditor=rec.exe /record\r\n"
    "[Voicemail]\r\nRecLengthMin=5\r\nRecLengthMax=120\r\n"
    "ForwardEmailSubject=New message, box %1\r\nForwardEmailSmtpServer=mail.example\r\n"
    "ForwardEmailSmtpEmailAddress=vm@example\r\nForwardEmailMechanism=smtp\r\nForwardEmailBody=from the ini\r\n"
    "FtpServer=ftp.example\r\nFtpDir=/in\r\nFtpUser=bob\r\nFtpPassword=\"s3cret \"\r\nRunCommandAfterRec=notify.exe\r\n";

TEST_F(ConfigLoad, ReadsEveryKeyOrItsDefault)
{
    ini(kFullIni);
    ASSERT_EQ(load(), 0);
    // The mechanism is kept as written.
    EXPECT_EQ(settings(),
              "5 120 rec.exe /record|New message, box %1|mail.example|vm@example|smtp|from the ini|"
              "ftp.example|/in|bob|s3cret |notify.exe");
    for (const bool keysOutsideTheSections : {false, true}) {  // after the full load, so stale values show
        QFile::remove(app.file("QV.INI"));
        if (keysOutsideTheSections)
            ini(QByteArray(kFullIni).replace("[PlayRecordConfig]", "[Other]").replace("[Voicemail]", "[Other2]"));
        ASSERT_EQ(load(), 0);
        EXPECT_EQ(settings(), "2 300 SNDREC32.EXE ||||||||||");
    }
}

// Everything read after a failed conversion keeps its empty initial value.
TEST_F(ConfigLoad, RecordingLengthConversion)
{
    const struct {
        const char *min, *max;
        int error;
        const char* settings;
    } cases[] = {
        {"", "", 0, "2 300 SNDREC32.EXE |subject||||stale body|ftp||||"},
        {" 7 ", "2.5", 0, "7 2 SNDREC32.EXE |subject||||stale body|ftp||||"},
        {"-3", "32767", 0, "-3 32767 SNDREC32.EXE |subject||||stale body|ftp||||"},
        {"abc", "10", platform::err::TypeMismatch, "0 0 SNDREC32.EXE ||||||||||"},
        {"10", "-32769", platform::err::Overflow, "10 0 SNDREC32.EXE ||||||||||"},
    };
    for (const auto& c : cases) {
        ini(kFullIni);  // loaded first so that stale values would show
        app.write("VmEmailForwardBody.txt", "stale body\r\n");
        ASSERT_EQ(load(), 0);

        ini("[Voicemail]\r\nRecLengthMin=" + QByteArray(c.min) + "\r\nRecLengthMax=" + QByteArray(c.max) +
            "\r\nForwardEmailSubject=subject\r\nFtpServer=ftp\r\n");
        EXPECT_EQ(load(), c.error) << c.min << " / " << c.max;
        EXPECT_EQ(settings(), c.settings) << c.min << " / " << c.max;
    }
}

TEST_F(ConfigLoad, BodyFileReplacesTheIniValue)
{
    const std::tuple<const char*, std::optional<QByteArray>, QString> cases[] = {
        {"three lines with commas",
         platform::encodeAnsi(QString::fromUtf8("Hello, caller,\r\nbox %1, line %2,\r\nGrüße, €\r\n")),
         QString::fromUtf8("Hello, caller,\r\nbox %1, line %2,\r\nGrüße, €")},
        {"no body file", std::nullopt, "from the ini"},
        {"empty body file", QByteArray(), "from the ini"},
        {"body cleared by the operator", "\r\n", ""},
        {"no final line end", "a,b", "a,b"},
        {"only the last line end goes", "a\r\n\r\n", "a\r\n"},
    };
    for (const auto& [name, file, expected] : cases) {
        ini(kFullIni);
        QFile::remove(app.file("VmEmailForwardBody.txt"));
        if (file)
            app.write("VmEmailForwardBody.txt", *file);
        ASSERT_EQ(load(), 0) << name;
        EXPECT_EQ(s.ForwardEmailBody, expected) << name;
        EXPECT_EQ(s.RunCommandAfterRec, "notify.exe") << name;
    }
}

TEST(RegistryIni, ReadsAndWritesTheFileItIsGiven)
{
    test::TempAppFolder app;
    const QString ini = app.file("QV.INI");
    EXPECT_EQ(ReadIniString(ini, "Voicemail", "FtpDir"), "");  // no file yet

    app.write("QV.INI", "[Voicemail]\r\nLong=" + QByteArray(600, 'x') + "\r\n");
    EXPECT_EQ(ReadIniString(ini, "Voicemail", "Long"), QString(511, u'x'));
    WriteIniString(ini, "Voicemail", "RecLengthMin", "30");
    EXPECT_EQ(ReadIniString(ini, "Voicemail", "RecLengthMin"), "30");
    ::chmod(app.file("QV.INI").toLocal8Bit().constData(), 0444);
    const QByteArray before = app.read("QV.INI");
    WriteIniString(ini, "Voicemail", "RecLengthMin", "1");  // silently not done
    EXPECT_EQ(app.read("QV.INI"), before);
}

TEST(FreeDiskSpace, ForTheCallerOnTheVolumeOfAPath)
{
    test::TempAppFolder app;
    EXPECT_GT(GetFreeDiskSpace(app.path()), 0);
    EXPECT_EQ(GetFreeDiskSpace(app.file("no/such/folder")), 0);
}

}  // namespace
