#include "mailbox/SafeFileName.h"
#include "mailbox/VmailLib.h"
#include "support/TempAppFolder.h"

#include <QDir>

#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>
#include <unistd.h>

using vm::VoicemailBox;

namespace {

QByteArray xmlLine(const QByteArray& id, const QByteArray& pin = {})
{
    return "<VoicemailBox Id=\"" + id + "\"><Pin>" + pin + "</Pin><FtpUpload>1</FtpUpload></VoicemailBox>\r\n";
}

QByteArray xmlFile(const QByteArray& lines)
{
    return "<?xml version=\"1.0\"?>\r\n<VoicemailBoxes>\r\n" + lines + "</VoicemailBoxes>\r\n";
}

QStringList ids()
{
    QStringList list;
    for (int i = 1; i <= vm::VmbArray().upperBound(); ++i)
        list << vm::VmbArray().at(i).Id;
    return list;
}

class StartupLoad : public ::testing::Test {
protected:
    void SetUp() override { vm::VmbArray().unsize(); }
    void TearDown() override { vm::VmbArray().unsize(); }

    void writeXml(const QByteArray& bytes) { app.write(QStringLiteral("data/VmBoxList.xml"), bytes); }
    void writeTxt(const QByteArray& bytes) { app.write(QStringLiteral("data/VmBoxList.txt"), bytes); }
    void greeting(const QString& id) { app.write(QStringLiteral("data/VmWelc/") + id + QStringLiteral(".wav"), "RIFF"); }
    bool hasGreeting(const QString& id) { return app.exists(QStringLiteral("data/VmWelc/") + id + QStringLiteral(".wav")); }

    vm::test::TempAppFolder app;
};

}  // namespace

TEST_F(StartupLoad, NoListFilesGiveNoBoxesAndWriteNothing)
{
    vm::VmbLoadArray();
    EXPECT_TRUE(vm::VmbArray().isSized());
    EXPECT_EQ(vm::VmbArray().upperBound(), 0);
    EXPECT_EQ(QDir(app.file(QStringLiteral("data"))).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST_F(StartupLoad, BoxesTheListNoLongerHasLoseGreetingAndBecomeBlank)
{
    writeTxt("\"7\",\"1\",\"seven\"\r\n\"8\",\"2\",\"eight\"\r\n");
    writeXml(xmlFile(xmlLine("8", "22")));
    greeting(QStringLiteral("7"));
    greeting(QStringLiteral("8"));

    vm::VmbLoadArray();

    EXPECT_FALSE(hasGreeting(QStringLiteral("7")));
    EXPECT_TRUE(hasGreeting(QStringLiteral("8")));
    ASSERT_EQ(ids(), (QStringList{QString(), QStringLiteral("8")}));  // blank row sorted first
    VoicemailBox blank;
    EXPECT_EQ(vm::VmbArray().at(1), blank);
    EXPECT_EQ(vm::VmbArray().at(2).Pin, QStringLiteral("22"));
    EXPECT_EQ(vm::VmbArray().at(2).Description, QString());  // a missing element reads as empty
    EXPECT_EQ(vm::VmbArray().at(2).FtpUpload, 1);
    EXPECT_FALSE(app.exists(QStringLiteral("data/VmBoxList.txt")));
}

TEST_F(StartupLoad, MergeScheme)
{
    struct Case {
        const char* name;
        QByteArray lines;
        QStringList ids;
        QStringList pins;
    };
    const std::vector<Case> cases = {
        {"repeated id keeps the later values", xmlLine("5", "a") + xmlLine("5", "b"), {"5"}, {"b"}},
        {"sorted when the last record is new", xmlLine("9") + xmlLine("3") + xmlLine("10"), {"10", "3", "9"}, {"", "", ""}},
        {"last record repeats: sort up to its index", xmlLine("9", "1") + xmlLine("3") + xmlLine("7") + xmlLine("3", "2"),
         {"3", "9", "7"}, {"2", "1", ""}},
        {"last record repeats the first: nothing sorted", xmlLine("9") + xmlLine("3") + xmlLine("9"), {"9", "3"}, {"", ""}},
        {"letter case as the file writes it", xmlLine("abc", "1") + xmlLine("ABC", "2"), {"ABC"}, {"2"}},
        {"blank entry and lines without an id add nothing", xmlLine("") + "junk\r\n\r\n<!-- c -->\r\n" + xmlLine("1"),
         {"1"}, {""}},
        {"LF-only lines are one line", "<VoicemailBox Id=\"1\">\n<VoicemailBox Id=\"2\">\n", {"1"}, {""}},
        {"overlapping id markers skip only that line", "<VoicemailBox Id=\">\r\n" + xmlLine("4"), {"4"}, {""}},
    };
    for (const Case& c : cases) {
        writeXml(xmlFile(c.lines));
        vm::VmbLoadArray();
        EXPECT_EQ(ids(), c.ids) << c.name;
        QStringList pins;
        for (int i = 1; i <= vm::VmbArray().upperBound(); ++i)
            pins << vm::VmbArray().at(i).Pin;
        EXPECT_EQ(pins, c.pins) << c.name;
    }
}

TEST_F(StartupLoad, SaveThenLoadGivesTheSameBoxes)
{
    vm::VmbArray().resetToElementZero();
    VoicemailBox b;
    b.Id = QStringLiteral("42");
    b.Description = QString::fromUtf8("R&D <lab> \u00e9");
    b.OnReceive = QStringLiteral("notify.exe \"x\"");
    b.DeleteAfterForward = 1;
    vm::VmbArray().store(vm::VmbArray().append(), b);
    vm::VmbSaveXML();
    vm::VmbArray().unsize();

    vm::VmbLoadArray();
    ASSERT_EQ(vm::VmbArray().upperBound(), 1);
    b.SeenInFile = 1;
    EXPECT_EQ(vm::VmbArray().at(1), b);
}

TEST(SafeFileName, RejectsSeparatorsParentStepsAndControls)
{
    const std::vector<std::pair<QString, bool>> cases = {
        {QStringLiteral("101"), true},     {QString(), true},             {QStringLiteral("a.b"), true},
        {QStringLiteral("."), true},       {QStringLiteral("x y"), true}, {QString::fromUtf8("\u00e9"), true},
        {QStringLiteral("../x"), false},   {QStringLiteral(".."), false}, {QStringLiteral("1..2"), false},
        {QStringLiteral("a/b"), false},    {QStringLiteral("a\\b"), false}, {QStringLiteral("/etc"), false},
        {QString(QChar(0)), false},        {QStringLiteral("a\tb"), false}, {QStringLiteral("a\r"), false},
        {QString(QChar(0x7f)), false},     {QString(QChar(0x85)), false},
    };
    for (const auto& [text, safe] : cases)
        EXPECT_EQ(vm::isSafeFileNamePart(text), safe) << text.toStdString();
}

TEST_F(StartupLoad, UnsafeIdsAreKeptButNeverReachAFileOperation)
{
    const QStringList unsafe = {QStringLiteral("../x"), QStringLiteral("sub/y"), QStringLiteral("a\\b"),
                                QStringLiteral(".."), QString::fromLatin1("c\x01")};
    // Files a greeting deletion of those Ids would hit.
    app.write(QStringLiteral("data/x.wav"), "keep");
    app.write(QStringLiteral("data/VmWelc/sub/y.wav"), "keep");
    app.write(QStringLiteral("data/VmWelc/a\\b.wav"), "keep");
    app.write(QStringLiteral("data/VmWelc/...wav"), "keep");

    QByteArray legacy;
    QByteArray xml;
    for (const QString& id : unsafe) {
        legacy += '"' + id.toLatin1() + "\",\"\",\"\"\r\n";
        xml += xmlLine(id.toLatin1());
    }
    writeTxt(legacy);
    writeXml(xmlFile(xmlLine("1")));  // lists none of them: all would lose their greeting
    vm::VmbLoadArray();
    EXPECT_TRUE(app.exists(QStringLiteral("data/x.wav")));
    EXPECT_TRUE(app.exists(QStringLiteral("data/VmWelc/sub/y.wav")));
    EXPECT_TRUE(app.exists(QStringLiteral("data/VmWelc/a\\b.wav")));
    EXPECT_TRUE(app.exists(QStringLiteral("data/VmWelc/...wav")));

    writeXml(xmlFile(xml));
    vm::VmbLoadArray();
    for (const QString& id : unsafe)
        EXPECT_GT(vm::VmbFind(id), 0) << id.toStdString();
}

TEST_F(StartupLoad, BadInputNeverStopsTheLoad)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        QStringList ids;
    };
    QByteArray garbage(20000, '\0');
    std::mt19937 rng(5);
    for (char& c : garbage)
        c = static_cast<char>(rng());
    const QByteArray longLine =
        "<VoicemailBox Id=\"1\"><Description>" + QByteArray(40000, 'd') + "</Description></VoicemailBox>\r\n";
    const std::vector<Case> cases = {
        {"binary garbage around a record", garbage + "\r\n" + xmlLine("2") + garbage, {"2"}},
        {"line over 32767 characters is skipped", longLine + xmlLine("2"), {"2"}},
        {"huge LF-only file is one overlong line", QByteArray(xmlLine("3").chopped(2) + "\n").repeated(500), {}},
    };
    for (const Case& c : cases) {
        writeXml(c.bytes);
        vm::VmbLoadArray();
        EXPECT_EQ(ids(), c.ids) << c.name;
    }
}

TEST_F(StartupLoad, UnreadableListFilesLeaveTheTableAsIs)
{
    // A list file that is a folder is not found at all.
    QDir().mkpath(app.file(QStringLiteral("data/VmBoxList.xml")));
    QDir().mkpath(app.file(QStringLiteral("data/VmBoxList.txt")));
    vm::VmbLoadArray();
    EXPECT_EQ(vm::VmbArray().upperBound(), 0);
    QDir(app.file(QStringLiteral("data/VmBoxList.xml"))).removeRecursively();
    QDir(app.file(QStringLiteral("data/VmBoxList.txt"))).removeRecursively();

    // A pipe with no writer would block a plain open: it must not.
    ASSERT_EQ(::mkfifo(app.file(QStringLiteral("data/VmBoxList.xml")).toLocal8Bit().constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(app.file(QStringLiteral("data/VmBoxList.txt")).toLocal8Bit().constData(), 0600), 0);
    vm::VmbLoadArray();
    EXPECT_EQ(vm::VmbArray().upperBound(), 0);
    ::unlink(app.file(QStringLiteral("data/VmBoxList.xml")).toLocal8Bit().constData());

    if (::geteuid() != 0) {  // permissions do not stop root
        writeXml(xmlFile(xmlLine("1")));
        ::chmod(app.file(QStringLiteral("data/VmBoxList.xml")).toLocal8Bit().constData(), 0);
        vm::VmbLoadArray();
        EXPECT_EQ(vm::VmbArray().upperBound(), 0);
    }
}
