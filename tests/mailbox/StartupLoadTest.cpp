#include "mailbox/SafeFileName.h"
#include "mailbox/VmailLib.h"
#include "support/TempAppFolder.h"
#include "MailboxTestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>
#include <unistd.h>

using vm::test::column;

namespace {

QByteArray xmlLine(const QByteArray& id, const QByteArray& pin = {})
{
    return "<VoicemailBox Id=\"" + id + "\"><Pin>" + pin + "</Pin><FtpUpload>1</FtpUpload></VoicemailBox>\r\n";
}

QByteArray xmlFile(const QByteArray& lines)
{
    return "<?xml version=\"1.0\"?>\r\n<VoicemailBoxes>\r\n" + lines + "</VoicemailBoxes>\r\n";
}

class StartupLoad : public ::testing::Test {
protected:
    void TearDown() override { vm::VmbArray().unsize(); }
    void write(const char* relative, const QByteArray& bytes) { app.write(QString::fromLatin1(relative), bytes); }
    bool exists(const char* relative) { return app.exists(QString::fromLatin1(relative)); }
    void mkfifo(const char* relative) { ASSERT_EQ(::mkfifo(QFile::encodeName(app.file(QString::fromLatin1(relative))), 0600), 0); }
    vm::test::TempAppFolder app;
};

}  // namespace

TEST_F(StartupLoad, BoxesTheListNoLongerHasLoseGreetingAndBecomeBlank)
{
    vm::VmbLoadArray();  // no list files: no boxes, nothing written
    EXPECT_EQ(vm::VmbArray().upperBound(), 0);
    EXPECT_EQ(QDir(app.file(QStringLiteral("data"))).entryList(QDir::Files), QStringList());

    write("data/VmBoxList.txt", "\"7\",\"1\",\"seven\"\r\n\"8\",\"2\",\"eight\"\r\n");
    write("data/VmBoxList.xml", xmlFile(xmlLine("8", "22")));
    write("data/VmWelc/7.wav", "RIFF");
    write("data/VmWelc/8.wav", "RIFF");
    vm::VmbLoadArray();
    EXPECT_FALSE(exists("data/VmWelc/7.wav"));
    EXPECT_TRUE(exists("data/VmWelc/8.wav"));
    EXPECT_FALSE(exists("data/VmBoxList.txt"));
    ASSERT_EQ(column(&vm::VoicemailBox::Id), (QStringList{QString(), QStringLiteral("8")}));  // blank sorts first
    EXPECT_EQ(vm::VmbArray().at(1), vm::VoicemailBox{});
    EXPECT_EQ(vm::VmbArray().at(2).Pin, QStringLiteral("22"));
    EXPECT_EQ(vm::VmbArray().at(2).Description, QString());  // the list file's record replaces every field
    EXPECT_EQ(vm::VmbArray().at(2).FtpUpload, 1);
}

TEST_F(StartupLoad, MergeScheme)
{
    struct Case {
        const char* name;
        QByteArray lines;
        QStringList ids, pins;
    };
    const std::vector<Case> cases = {
        {"repeated id keeps the later values", xmlLine("5", "a") + xmlLine("5", "b"), {"5"}, {"b"}},
        {"sorted when the last record is new", xmlLine("9") + xmlLine("3") + xmlLine("10"), {"10", "3", "9"}, {"", "", ""}},
        {"last record repeats: sort up to its index", xmlLine("9", "1") + xmlLine("3") + xmlLine("7") + xmlLine("3", "2"),
         {"3", "9", "7"}, {"2", "1", ""}},
        {"letter case as the file writes it", xmlLine("abc", "1") + xmlLine("ABC", "2"), {"ABC"}, {"2"}},
        {"no id, no entry", xmlLine("") + "junk\r\n\r\n<!-- c -->\r\n" + xmlLine("1"), {"1"}, {""}},
        {"LF-only lines are one line", "<VoicemailBox Id=\"1\">\n<VoicemailBox Id=\"2\">\n", {"1"}, {""}},
        {"overlapping id markers skip the line", "<VoicemailBox Id=\">\r\n" + xmlLine("4"), {"4"}, {""}},
    };
    for (const Case& c : cases) {
        write("data/VmBoxList.xml", xmlFile(c.lines));
        vm::VmbLoadArray();
        EXPECT_EQ(column(&vm::VoicemailBox::Id), c.ids) << c.name;
        EXPECT_EQ(column(&vm::VoicemailBox::Pin), c.pins) << c.name;
    }
}

TEST_F(StartupLoad, SaveThenLoadGivesTheSameBoxes)
{
    vm::VmbArray().resetToElementZero();
    vm::VoicemailBox b;
    b.Id = QStringLiteral("42");
    b.Description = QString::fromUtf8("R&D <lab> \u00e9");
    b.OnReceive = QStringLiteral("notify.exe \"x\"");
    b.DeleteAfterForward = 1;
    vm::VmbArray().store(vm::VmbArray().append(), b);
    vm::VmbSaveXML();
    vm::VmbLoadArray();
    ASSERT_EQ(vm::VmbArray().upperBound(), 1);
    b.SeenInFile = 1;
    EXPECT_EQ(vm::VmbArray().at(1), b);
}

TEST_F(StartupLoad, UnsafeIdsAreKeptButNeverReachAFileOperation)
{
    const std::vector<std::pair<QString, bool>> names = {
        {QStringLiteral("101"), true},   {QString(), true},            {QStringLiteral("a.b"), true},
        {QStringLiteral("../x"), false}, {QStringLiteral(".."), false}, {QStringLiteral("1..2"), false},
        {QStringLiteral("a/b"), false},  {QStringLiteral("a\\b"), false}, {QString(QChar(0)), false},
        {QStringLiteral("a\tb"), false}, {QString(QChar(0x7f)), false}, {QString(QChar(0x85)), false},
    };
    for (const auto& [name, safe] : names)
        EXPECT_EQ(vm::isSafeFileNamePart(name), safe) << name.toStdString();

    // Files that deleting the greetings of these Ids would hit.
    for (const char* f : {"data/x.wav", "data/VmWelc/sub/y.wav", "data/VmWelc/a\\b.wav", "data/VmWelc/...wav"})
        write(f, "keep");
    const QByteArray legacy = "\"../x\",\"\",\"\"\r\n\"sub/y\",\"\",\"\"\r\n\"a\\b\",\"\",\"\"\r\n\"..\",\"\",\"\"\r\n";
    write("data/VmBoxList.txt", legacy);
    write("data/VmBoxList.xml", xmlFile(xmlLine("1")));  // lists none of them
    vm::VmbLoadArray();
    for (const char* f : {"data/x.wav", "data/VmWelc/sub/y.wav", "data/VmWelc/a\\b.wav", "data/VmWelc/...wav"})
        EXPECT_TRUE(exists(f)) << f;

    write("data/VmBoxList.xml", xmlFile(xmlLine("../x") + xmlLine("c\x01")));
    vm::VmbLoadArray();
    EXPECT_EQ(column(&vm::VoicemailBox::Id), (QStringList{QStringLiteral("../x"), QStringLiteral("c\x01")}));
}

TEST_F(StartupLoad, BadInputNeverStopsTheLoad)
{
    QByteArray garbage(20000, '\0');
    std::mt19937 rng(5);
    for (char& c : garbage)
        c = static_cast<char>(rng());
    const QByteArray longLine = "<VoicemailBox Id=\"1\"><Pin>" + QByteArray(40000, 'd') + "</Pin></VoicemailBox>\r\n";
    const std::vector<std::pair<QByteArray, QStringList>> cases = {
        {garbage + "\r\n" + xmlLine("2") + garbage, {"2"}},
        {longLine + xmlLine("2"), {"2"}},  // over 32,767 characters: skipped
        {QByteArray(xmlLine("3").chopped(2) + "\n").repeated(500), {}},  // LF-only: one overlong line
    };
    for (const auto& [bytes, ids] : cases) {
        write("data/VmBoxList.xml", bytes);
        vm::VmbLoadArray();
        EXPECT_EQ(column(&vm::VoicemailBox::Id), ids);
    }

    // List files that are folders are not found; pipes must not block.
    QFile::remove(app.file(QStringLiteral("data/VmBoxList.xml")));
    QDir().mkpath(app.file(QStringLiteral("data/VmBoxList.xml")));
    mkfifo("data/VmBoxList.txt");
    vm::VmbLoadArray();
    EXPECT_EQ(vm::VmbArray().upperBound(), 0);
    QDir(app.file(QStringLiteral("data/VmBoxList.xml"))).removeRecursively();
    mkfifo("data/VmBoxList.xml");
    vm::VmbLoadArray();
    EXPECT_EQ(vm::VmbArray().upperBound(), 0);
}
