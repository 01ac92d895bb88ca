#include "platform/FileSystem.h"
#include "platform/IniProfile.h"
#include "platform/RuntimeError.h"
#include "support/FaultInjection.h"
#include "support/TempAppFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace vm;

namespace {

class IniProfile : public ::testing::Test {
protected:
    test::TempAppFolder app;
    QString ini = app.file("QV.INI");

    void put(const QByteArray& bytes) const { app.write("QV.INI", bytes); }
    QByteArray bytes() const { return app.read("QV.INI"); }
    QString get(const QString& section, const QString& key, const QString& def = {}, int size = 512) const
    {
        return platform::getPrivateProfileString(section, key, def, size, ini);
    }
    bool set(const QString& section, const QString& key, const QString& value) const
    {
        return platform::writePrivateProfileString(section, key, value, ini);
    }
};

// Comments, odd spacing, quotes, all three line ends, a duplicate section and
// key, a broken header, ANSI names and no final line end.
const QByteArray kCorpus =
    "; product settings\r\norphan=before any section\r\n"
    "[PlayRecordConfig]\r\nRecEditor = C:\\Tools\\rec.exe   \r\n"
    "  [ Voicemail ]  ; trailing remark\r\n"
    "RecLengthMin=5\n   recLENGTHmax\t=\t  120\r"
    ";FtpServer=commented.example\r\nFtpServer=ftp.example\r\nFtpServer=second.example\r\n"
    "FtpDir=\"  /in  \"\r\nFtpUser='it''s'\r\nFtpPassword=\"mismatch'\r\nQuote=\"\r\nNoText=\"\"\r\n"
    "Empty=\r\nNoEquals\r\nMail=a=b=c\r\n"
    "[Broken\r\nAfterBroken=still voicemail\r\n"
    "[voicemail]\r\nFtpServer=duplicate section\r\nOnlyInSecond=x\r\n"
    "[]\r\n=nameless key\r\n"
    "[Gr\xd6\xdf"
    "e]\r\nCaf\xe9=cr\xe8me \x80\r\n"
    "[Zulu]\r\ntail=no final line end";

TEST_F(IniProfile, ReadsTheCorpusAsTheSystemFunctionDoes)
{
    put(kCorpus);
    const struct {
        const char* section;
        const char* key;
        QString expected;
    } cases[] = {
        {"PlayRecordConfig", "RecEditor", "C:\\Tools\\rec.exe"},
        {"playrecordconfig", "RECEDITOR", "C:\\Tools\\rec.exe"},
        {"  Voicemail ", " RecLengthMin  ", "5"},  // names trimmed on both sides
        {"Voicemail", "RecLengthMax", "120"},      // LF and lone CR end lines too
        {"Voicemail", "FtpServer", "ftp.example"},
        {"Voicemail", ";FtpServer", "<def>"},    // first key wins
        {"Voicemail", "OnlyInSecond", "<def>"},  // a second section of the name is not read
        {"Voicemail", "FtpDir", "  /in  "},
        {"Voicemail", "FtpUser", "it''s"},  // matching quotes removed
        {"Voicemail", "FtpPassword", "\"mismatch'"},
        {"Voicemail", "Quote", "\""},
        {"Voicemail", "NoText", ""},
        {"Voicemail", "Empty", ""},
        {"Voicemail", "NoEquals", "<def>"},
        {"Voicemail", "Mail", "a=b=c"},
        {"Voicemail", "AfterBroken", "still voicemail"},
        {"Broken", "AfterBroken", "<def>"},  // unclosed header
        {"Voicemail", "orphan", "<def>"},
        {"", "", "nameless key"},
        {"Missing", "tail", "<def>"},
        {"gr\xf6\xdf"
         "e",
         "CAF\xc9", QString::fromUtf8("crème €")},  // ANSI text, case folded
        {"zULU", "tail", "no final line end"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(get(QString::fromLatin1(c.section), QString::fromLatin1(c.key), "<def>"), c.expected)
            << c.section << "/" << c.key;
}

TEST_F(IniProfile, DefaultsBufferLimitsAndNoCaching)
{
    EXPECT_EQ(get("S", "k", "dflt"), "dflt");  // no file, no folder, no path
    EXPECT_EQ(platform::getPrivateProfileString("S", "k", "d", 512, app.file("nowhere/QV.INI")), "d");
    EXPECT_EQ(platform::getPrivateProfileString("S", "k", "d", 512, QString()), "d");
    EXPECT_EQ(get("S", "k", "  d  "), "  d");  // trailing blanks of the default go, leading ones stay

    put("[S]\r\nk=" + QByteArray(600, 'x') + "\r\nq=\"abcdef\"\r\n");
    EXPECT_EQ(get("S", "k").size(), 511);
    EXPECT_EQ(get("S", "k", {}, 5), "xxxx");
    EXPECT_EQ(get("S", "q", {}, 4), "abc");  // cut after the quotes are removed
    EXPECT_EQ(get("S", "k", {}, 1), "");
    EXPECT_EQ(get("S", "k", {}, 0), "");
    EXPECT_EQ(get("S", "none", "0123456789", 5), "0123");  // the default is cut too

    put("[S]\r\nk=2\r\n");  // every read sees the file as it is now
    EXPECT_EQ(get("S", "k"), "2");
    QFile::remove(ini);
    EXPECT_EQ(get("S", "k", "gone"), "gone");
}

TEST_F(IniProfile, WritesChangeOnlyTheirOwnLine)
{
    const struct {
        const char* before;               // nullptr: no file
        std::vector<const char*> writes;  // "section|key|value"
        QByteArray after;
    } cases[] = {
        {nullptr, {"Voicemail|FtpDir|/in", "Voicemail|FtpUser|bob"}, "[Voicemail]\r\nFtpDir=/in\r\nFtpUser=bob\r\n"},
        {"", {"S|k|v"}, "[S]\r\nk=v\r\n"},
        // replaced in place: line end and neighbours kept
        {"; c\r\n[S]\r\n  K1 =  old  \na=1\r\n", {"s|k1|new"}, "; c\r\n[S]\r\nk1=new\na=1\r\n"},
        // a missing key goes after the section's last entry, or after its header
        {"[A]\r\na=1\r\n; about B\r\n\r\n[B]\r\nb=1\r\n",
         {"A|n|2"},
         "[A]\r\na=1\r\nn=2\r\n; about B\r\n\r\n[B]\r\nb=1\r\n"},
        {"[A]\r\n; nothing yet\r\n[B]\r\n", {"A|n|2"}, "[A]\r\nn=2\r\n; nothing yet\r\n[B]\r\n"},
        // a missing section is appended, after a line end if the file lacks one
        {"[A]\r\na=1\r\n", {"B|b|2"}, "[A]\r\na=1\r\n[B]\r\nb=2\r\n"},
        {"[A]\r\na=1", {"B|b|2"}, "[A]\r\na=1\r\n[B]\r\nb=2\r\n"},
        {"[A]", {"A|b|2"}, "[A]\r\nb=2\r\n"},
        {"[A]\na=1\nz=9\n", {"A|a|5", "A|b|6"}, "[A]\na=5\nz=9\nb=6\r\n"},  // LF-only lines kept
        // the first of duplicate keys and sections is written
        {"[A]\r\nk=1\r\nk=2\r\n[a]\r\nk=3\r\n", {"A|k|x", "A|m|y"}, "[A]\r\nk=x\r\nk=2\r\nm=y\r\n[a]\r\nk=3\r\n"},
        {"[A]\r\n;k=1\r\n[k=2\r\n", {"A|k|v"}, "[A]\r\nk=v\r\n;k=1\r\n[k=2\r\n"},  // comments, broken headers
        {"[A]\r\n", {" A | k |  v "}, "[A]\r\nk=  v \r\n"},                        // names trimmed, value as given
        {"[A]\r\n", {"A|k|one\r\ntwo\nthree\rfour"}, "[A]\r\nk=one two three four\r\n"},
        {"[A]\r\nx=\xe9\x80\x81\r\n",
         {"A|k|caf\xc3\xa9 \xe2\x82\xac \xe2\x98\x83"},
         "[A]\r\nx=\xe9\x80\x81\r\nk=caf\xe9 \x80 ?\r\n"},
    };
    for (const auto& c : cases) {
        QFile::remove(ini);
        if (c.before)
            put(c.before);
        for (const char* write : c.writes) {
            const QStringList w = QString::fromUtf8(write).split(u'|');
            EXPECT_TRUE(set(w[0], w[1], w[2])) << write;
        }
        EXPECT_EQ(bytes(), c.after) << (c.before ? c.before : "(no file)");
    }
}

TEST_F(IniProfile, AWriteThatCannotBeDoneChangesNothing)
{
    put("[A]\r\na=1\r\n");
    ::chmod(ini.toLocal8Bit().constData(), 0444);
    EXPECT_FALSE(set("A", "a", "2"));
    EXPECT_FALSE(set("A", "b", "2"));
    EXPECT_EQ(bytes(), "[A]\r\na=1\r\n");
    EXPECT_EQ(get("A", "a"), "1");  // still readable

    const QString folder = app.file("locked");  // read-only folder: no new file
    QDir().mkpath(folder);
    ::chmod(folder.toLocal8Bit().constData(), 0555);
    EXPECT_FALSE(platform::writePrivateProfileString("A", "a", "1", folder + "/QV.INI"));
    EXPECT_FALSE(QFile::exists(folder + "/QV.INI"));
    ::chmod(folder.toLocal8Bit().constData(), 0755);

    QDir().mkpath(app.file("QV.DIR"));  // the path is a folder, its folder is missing, or there is no path
    EXPECT_FALSE(platform::writePrivateProfileString("A", "a", "1", app.file("QV.DIR")));
    EXPECT_EQ(platform::getPrivateProfileString("A", "a", "d", 512, app.file("QV.DIR")), "d");
    EXPECT_FALSE(platform::writePrivateProfileString("A", "a", "1", app.file("missing/QV.INI")));
    EXPECT_FALSE(platform::writePrivateProfileString("A", "a", "1", QString()));

    ::chmod(ini.toLocal8Bit().constData(), 0644);  // a failed write leaves the old file and nothing else
    {
        const test::ScopedFault diskFull(test::failStep(test::FileStep::Write, "QV.INI", platform::err::DiskFull));
        EXPECT_FALSE(set("A", "a", "2"));
    }
    EXPECT_EQ(bytes(), "[A]\r\na=1\r\n");
    EXPECT_EQ(QDir(app.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"QV.INI"});
}

}  // namespace
