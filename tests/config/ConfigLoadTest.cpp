#include "config/GlobalStuff.h"
#include "config/RegistryIni.h"
#include "platform/AnsiText.h"
#include "platform/RuntimeError.h"
#include "support/TempAppFolder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace vm;
using namespace vm::config;

namespace {

class ConfigLoad : public ::testing::Test {
protected:
    test::TempAppFolder app;

    void ini(const QByteArray& bytes) const { app.write("QV.INI", bytes); }
    void body(const QByteArray& bytes) const { app.write("VmEmailForwardBody.txt", bytes); }

    // LoadConfig's error number, 0 when it went through.
    static int load()
    {
        try {
            LoadConfig();
        } catch (const RuntimeError& e) {
            return e.number();
        }
        return 0;
    }
};

const QByteArray kFullIni =
    "[PlayRecordConfig]\r\n"
    "RecEditor=rec.exe /record\r\n"
    "[Voicemail]\r\n"
    "RecLengthMin=5\r\n"
    "RecLengthMax=120\r\n"
    "ForwardEmailSubject=New message, box %1\r\n"
    "ForwardEmailSmtpServer=mail.example\r\n"
    "ForwardEmailSmtpEmailAddress=vm@example\r\n"
    "ForwardEmailMechanism=smtp\r\n"
    "ForwardEmailBody=from the ini\r\n"
    "FtpServer=ftp.example\r\n"
    "FtpDir=/in\r\n"
    "FtpUser=bob\r\n"
    "FtpPassword=\"s3cret \"\r\n"
    "RunCommandAfterRec=notify.exe\r\n";

TEST_F(ConfigLoad, ReadsEveryKey)
{
    ini(kFullIni);
    ASSERT_EQ(load(), 0);
    EXPECT_EQ(IniFile(), app.file("QV.INI"));
    EXPECT_EQ(RecEditor, "rec.exe /record");
    EXPECT_EQ(RecLengthMin, 5);
    EXPECT_EQ(RecLengthMax, 120);
    EXPECT_EQ(ForwardEmailSubject, "New message, box %1");
    EXPECT_EQ(ForwardEmailSmtpServer, "mail.example");
    EXPECT_EQ(ForwardEmailSmtpEmailAddress, "vm@example");
    EXPECT_EQ(ForwardEmailMechanism, "smtp");  // kept as written; only "SMTP" means SMTP
    EXPECT_EQ(ForwardEmailBody, "from the ini");
    EXPECT_EQ(FtpServer, "ftp.example");
    EXPECT_EQ(FtpDir, "/in");
    EXPECT_EQ(FtpUser, "bob");
    EXPECT_EQ(FtpPassword, "s3cret ");
    EXPECT_EQ(RunCommandAfterRec, "notify.exe");
}

TEST_F(ConfigLoad, DefaultsWithoutFileOrSection)
{
    for (const QByteArray* file : {static_cast<const QByteArray*>(nullptr), &kFullIni}) {
        QFile::remove(app.file("QV.INI"));
        if (file)  // the same keys, but neither of the two sections
            ini(QByteArray(*file).replace("[PlayRecordConfig]", "[Other]").replace("[Voicemail]", "[Other2]"));
        ASSERT_EQ(load(), 0);
        EXPECT_EQ(RecEditor, "SNDREC32.EXE ");
        EXPECT_EQ(RecLengthMin, 2);
        EXPECT_EQ(RecLengthMax, 300);
        for (const QString* s : {&ForwardEmailSubject, &ForwardEmailSmtpServer, &ForwardEmailSmtpEmailAddress,
                                 &ForwardEmailMechanism, &ForwardEmailBody, &FtpServer, &FtpDir, &FtpUser,
                                 &FtpPassword, &RunCommandAfterRec})
            EXPECT_EQ(*s, "");
    }
}

TEST_F(ConfigLoad, RecordingLengthConversion)
{
    struct Case {
        const char* min;
        const char* max;
        int error;
        std::int16_t expectedMin;
        std::int16_t expectedMax;
    } const cases[] = {
        {"", "", 0, 2, 300},
        {" 7 ", "2.5", 0, 7, 2},
        {"-3", "32767", 0, -3, 32767},
        {"&H10", "1e3", 0, 16, 1000},
        {"abc", "10", err::TypeMismatch, 0, 0},
        {"40000", "10", err::Overflow, 0, 0},
        {"10", "12 seconds", err::TypeMismatch, 10, 0},
        {"10", "-32769", err::Overflow, 10, 0},
    };
    for (const auto& c : cases) {
        // Load a full file first so that stale values would show.
        ini(kFullIni);
        body("stale body\r\n");
        ASSERT_EQ(load(), 0);

        ini("[Voicemail]\r\nRecLengthMin=" + QByteArray(c.min) + "\r\nRecLengthMax=" + QByteArray(c.max) +
            "\r\nForwardEmailSubject=subject\r\nFtpServer=ftp\r\n");
        EXPECT_EQ(load(), c.error) << c.min << " / " << c.max;
        EXPECT_EQ(RecLengthMin, c.expectedMin) << c.min;
        EXPECT_EQ(RecLengthMax, c.expectedMax) << c.max;
        EXPECT_EQ(RecEditor, "SNDREC32.EXE ");  // read before the failure
        // Everything after a failed conversion keeps its empty initial value.
        const QString after = c.error ? QString() : QStringLiteral("subject");
        EXPECT_EQ(ForwardEmailSubject, after) << c.min << " / " << c.max;
        EXPECT_EQ(ForwardEmailBody, c.error ? QString() : QStringLiteral("stale body"));
        EXPECT_EQ(FtpServer, c.error ? QString() : QStringLiteral("ftp"));
    }
}

TEST_F(ConfigLoad, BodyFileReplacesTheIniValue)
{
    struct Case {
        const char* name;
        const QByteArray* file;  // nullptr: no body file
        QString expected;
    };
    const QByteArray threeLines = ansi::encode(QString::fromUtf8("Hello, caller,\r\nbox %1, line %2,\r\nGrüße, €\r\n"));
    const QByteArray empty;
    const QByteArray onlyLineEnd = "\r\n";
    const QByteArray noFinalLineEnd = "a,b";
    const QByteArray twoFinalLineEnds = "a\r\n\r\n";
    const Case cases[] = {
        {"three lines with commas", &threeLines, QString::fromUtf8("Hello, caller,\r\nbox %1, line %2,\r\nGrüße, €")},
        {"no body file", nullptr, "from the ini"},
        {"empty body file", &empty, "from the ini"},
        {"body cleared by the operator", &onlyLineEnd, ""},
        {"no final line end", &noFinalLineEnd, "a,b"},
        {"only the last line end goes", &twoFinalLineEnds, "a\r\n"},
    };
    for (const auto& c : cases) {
        ini(kFullIni);
        QFile::remove(app.file("VmEmailForwardBody.txt"));
        if (c.file)
            body(*c.file);
        ASSERT_EQ(load(), 0) << c.name;
        EXPECT_EQ(ForwardEmailBody, c.expected) << c.name;
        EXPECT_EQ(RunCommandAfterRec, "notify.exe") << c.name;
    }
}

TEST(RegistryIni, ReadsAndWritesTheStoredFile)
{
    test::TempAppFolder app;
    SetIniFile(QString());
    EXPECT_EQ(ReadIniString("Voicemail", "FtpDir"), "");  // no file chosen yet

    SetIniFile(app.file("QV.INI"));
    app.write("QV.INI", "[Voicemail]\r\nEmpty=\r\nLong=" + QByteArray(600, 'x') + "\r\n");
    EXPECT_EQ(ReadIniString("Voicemail", "Empty"), "");
    EXPECT_EQ(ReadIniString("Voicemail", "Missing"), "");
    EXPECT_EQ(ReadIniString("Voicemail", "Long"), QString(511, u'x'));
    EXPECT_EQ(GetIniString("Voicemail", "Long"), QString(511, u'x'));

    WriteIniString("Voicemail", "RecLengthMin", "30");
    EXPECT_EQ(ReadIniString("Voicemail", "RecLengthMin"), "30");

    ::chmod(app.file("QV.INI").toLocal8Bit().constData(), 0444);
    const QByteArray before = app.read("QV.INI");
    WriteIniString("Voicemail", "RecLengthMin", "1");  // silently not done
    EXPECT_EQ(app.read("QV.INI"), before);
}

TEST(GlobalStuff, FreeDiskSpace)
{
    test::TempAppFolder app;
    EXPECT_GT(GetFreeDiskSpace(app.path()), 0);
    EXPECT_EQ(GetFreeDiskSpace(app.file("no/such/folder")), 0);
}

}  // namespace
