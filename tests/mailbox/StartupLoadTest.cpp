#include "MailboxTestSupport.h"
#include "mailbox/FolderLoad.h"
#include "mailbox/SafeFileName.h"
#include "support/TempAppFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

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
    QStringList loadedIds(const QByteArray& list)
    {
        app.write("data/VmBoxList.xml", list);
        vm::mailbox::VmbLoadArray(table);
        return column(table, &vm::mailbox::VoicemailBox::Id);
    }
    // The load's problems, one a line, paths relative to the folder.
    std::string problemsOf(const vm::mailbox::FolderLoad& load) const
    {
        QStringList lines;
        for (const vm::mailbox::LoadProblem& p : load.problems)
            lines << p.describe().remove(app.path() + u'/');
        return lines.join(u'\n').toStdString();
    }
    void mkfifo(const char* relative) { ASSERT_EQ(::mkfifo(QFile::encodeName(app.file(relative)), 0600), 0); }
    vm::test::TempAppFolder app;
    vm::mailbox::MailboxTable table;
};

}  // namespace

TEST_F(StartupLoad, BoxesTheListNoLongerHasLoseGreetingAndBecomeBlank)
{
    vm::mailbox::VmbLoadArray(table);  // no list files: no boxes, nothing written
    EXPECT_EQ(table.upperBound(), 0);
    EXPECT_EQ(QDir(app.file("data")).entryList(QDir::Files), QStringList());

    app.write("data/VmBoxList.txt", "\"7\",\"1\",\"seven\"\r\n\"8\",\"2\",\"eight\"\r\n");
    app.write("data/VmWelc/7.wav", "RIFF");
    app.write("data/VmWelc/8.wav", "RIFF");
    ASSERT_EQ(loadedIds(xmlFile(xmlLine("8", "22"))), (QStringList{"", "8"}));  // blank sorts first
    EXPECT_FALSE(app.exists("data/VmWelc/7.wav"));
    EXPECT_TRUE(app.exists("data/VmWelc/8.wav"));
    EXPECT_FALSE(app.exists("data/VmBoxList.txt"));
    EXPECT_EQ(table.at(1), vm::mailbox::VoicemailBox{});
    // The list file's record replaces every field.
    EXPECT_EQ(table.at(2), (vm::mailbox::VoicemailBox{.Id = "8", .Pin = "22", .FtpUpload = 1, .SeenInFile = 1}));
}

TEST_F(StartupLoad, MergeScheme)
{
    const struct {
        const char* name;
        QByteArray lines;
        QStringList ids, pins;
    } cases[] = {
        {"repeated id keeps the later values", xmlLine("5", "a") + xmlLine("5", "b"), {"5"}, {"b"}},
        {"sorted when the last record is new",
         xmlLine("9") + xmlLine("3") + xmlLine("10"),
         {"10", "3", "9"},
         {"", "", ""}},
        {"last record repeats: sort up to its index",
         xmlLine("9", "1") + xmlLine("3") + xmlLine("7") + xmlLine("3", "2"),
         {"3", "9", "7"},
         {"2", "1", ""}},
        {"letter case as the file writes it", xmlLine("abc", "1") + xmlLine("ABC", "2"), {"ABC"}, {"2"}},
        {"no id, no entry", xmlLine("") + "junk\r\n\r\n<!-- c -->\r\n" + xmlLine("1"), {"1"}, {""}},
        {"LF-only lines are one line", "<VoicemailBox Id=\"1\">\n<VoicemailBox Id=\"2\">\n", {"1"}, {""}},
        {"overlapping id markers skip the line", "<VoicemailBox Id=\">\r\n" + xmlLine("4"), {"4"}, {""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(loadedIds(xmlFile(c.lines)), c.ids) << c.name;
        EXPECT_EQ(column(table, &vm::mailbox::VoicemailBox::Pin), c.pins) << c.name;
    }
}

// A reload fills the entries of the table it replaces in place: nothing of
// the earlier boxes may show through.
TEST_F(StartupLoad, AReloadKeepsNothingOfTheBoxesItReplaces)
{
    app.write("data/VmBoxList.xml",
              xmlFile("<VoicemailBox Id=\"1\"><Pin>1234</Pin><Groups>g</Groups><OnReceive>run</OnReceive>"
                      "<FtpUpload>1</FtpUpload><DeleteAfterForward>1</DeleteAfterForward></VoicemailBox>\r\n"));
    vm::mailbox::VmbLoadArray(table);
    QFile::remove(app.file("data/VmBoxList.xml"));
    app.write("data/VmBoxList.txt", "\"1\",\"9\",\"one\"\r\n");
    vm::mailbox::VmbLoadArray(table);
    ASSERT_EQ(table.upperBound(), 1);
    EXPECT_EQ(table.at(1), (vm::mailbox::VoicemailBox{.Id = "1", .Pin = "9", .Description = "one", .SeenInFile = 1}));
}

// The table holds 32,767 boxes at most: the list's record that finds no room
// is skipped, and the box the list left out still loses its greeting.
TEST_F(StartupLoad, AFullTableStillBlanksTheBoxesTheListLeftOut)
{
    QByteArray legacy;
    QByteArray list;
    for (int id = 1; id <= 32767; ++id) {
        legacy += "\"" + QByteArray::number(id) + "\",\"\",\"\"\r\n";
        if (id > 1)
            list += xmlLine(QByteArray::number(id));
    }
    app.write("data/VmBoxList.txt", legacy);
    app.write("data/VmWelc/1.wav", "RIFF");
    EXPECT_EQ(loadedIds(xmlFile(list + xmlLine("new"))).first(), QString());
    EXPECT_FALSE(app.exists("data/VmWelc/1.wav"));

    app.write("data/VmBoxList.txt", legacy + "\"a\",\"\",\"\"\r\n");
    app.write("data/VmBoxList.xml", xmlFile(list + xmlLine("new") + xmlLine("newer")));
    EXPECT_EQ(problemsOf(vm::mailbox::loadMailboxFolder(table)),
              "data/VmBoxList.txt: a box beyond the 32,767 the table holds is left out\n"
              "data/VmBoxList.xml: 2 boxes beyond the 32,767 the table holds are left out, the first "
              "(line 32769, byte offset 2511921)");
}

// Whatever the load cannot take is told, with where it shows; a file the
// writer could have made is told nothing about.
TEST_F(StartupLoad, EverythingTheLoadCannotTakeIsReported)
{
    const QByteArray utf16 = QByteArray("\xFF\xFE") + QStringLiteral("<VoicemailBoxes>\r\n").toUtf8();
    const struct {
        QByteArray list;
        const char* problems;
    } cases[] = {
        {xmlFile("<!-- kept -->\r\n" + xmlLine("") + xmlLine("7")), ""},
        {xmlFile(""), ""},
        {QByteArray::fromRawData(reinterpret_cast<const char*>(u"\uFEFF<VoicemailBoxes>\r\n"), 38),
         "data/VmBoxList.xml: is UTF-16 (little-endian, with a byte-order mark) text, not windows-1252 (byte offset 0)\n"
         "data/VmBoxList.xml: holds 38 bytes but not one box line the reader can take (line 1, byte offset 0)"},
        {QByteArray("\0\0\0<\0\0\0V", 8),
         "data/VmBoxList.xml: is UTF-32 (big-endian, without a byte-order mark) text, not windows-1252 (byte offset 0)\n"
         "data/VmBoxList.xml: holds 8 bytes but not one box line the reader can take (line 1, byte offset 0)"},
        {xmlFile(xmlLine("1") + QByteArray("x\0y\r\n", 5)),
         "data/VmBoxList.xml: holds a NUL byte, which no windows-1252 text holds (line 4, byte offset 115)"},
        {"\x8f\x01garbage\r\nmore\r\n",
         "data/VmBoxList.xml: holds 17 bytes but not one box line the reader can take "
         "(line 1, byte offset 0)"},
        {xmlLine("1") + "<VoicemailBox Id=\"2\"><Pin>" + QByteArray(40000, 'd') + "\r\n" + xmlLine("3"),
         "data/VmBoxList.xml: a line longer than 32,767 characters cannot be read (line 2, byte offset 73)"},
        {xmlFile(xmlLine("1")).chopped(19) + xmlLine("2").left(40),
         "data/VmBoxList.xml: its last line ends in the middle of a box: the file was cut off "
         "(line 4, byte offset 114)"},
    };
    for (const auto& c : cases) {
        app.write("data/VmBoxList.xml", c.list);
        EXPECT_EQ(problemsOf(vm::mailbox::loadMailboxFolder(table)), c.problems) << c.list.left(60).toStdString();
    }
}

TEST_F(StartupLoad, UnsafeIdsAreKeptButNeverReachAFileOperation)
{
    const std::pair<QString, bool> names[] = {
        {"101", true},
        {"", true},
        {"a.b", true},
        {"../x", false},
        {"..", false},
        {"1..2", false},
        {"a/b", false},
        {"a\\b", false},
        {QString(QChar(0)), false},
        {"a\tb", false},
        {QString(QChar(0x7f)), false},
        {QString(QChar(0x85)), false},
    };
    for (const auto& [name, safe] : names)
        EXPECT_EQ(vm::mailbox::isSafeFileNamePart(name), safe) << name.toStdString();

    // Files that deleting the greetings of these Ids would hit; the list file has none of the Ids.
    const char* const bait[] = {"data/x.wav", "data/VmWelc/sub/y.wav", "data/VmWelc/a\\b.wav", "data/VmWelc/...wav"};
    for (const char* f : bait)
        app.write(f, "keep");
    app.write("data/VmBoxList.txt",
              "\"../x\",\"\",\"\"\r\n\"sub/y\",\"\",\"\"\r\n\"a\\b\",\"\",\"\"\r\n\"..\",\"\",\"\"\r\n");
    loadedIds(xmlFile(xmlLine("1")));
    for (const char* f : bait)
        EXPECT_TRUE(app.exists(f)) << f;
    EXPECT_EQ(loadedIds(xmlFile(xmlLine("../x") + xmlLine("c\x01"))), (QStringList{"../x", "c\x01"}));
}

TEST_F(StartupLoad, BadInputNeverStopsTheLoad)
{
    // Over 32,767 characters: skipped.
    EXPECT_EQ(loadedIds("<VoicemailBox Id=\"1\"><Pin>" + QByteArray(40000, 'd') + "</Pin>\r\n" + xmlLine("2")),
              QStringList{"2"});
    EXPECT_EQ(loadedIds(QByteArray(xmlLine("3").chopped(2) + "\n").repeated(500)), QStringList());  // one overlong line

    // List files that are folders are not found; pipes must not block.
    QFile::remove(app.file("data/VmBoxList.xml"));
    QDir().mkpath(app.file("data/VmBoxList.xml"));
    mkfifo("data/VmBoxList.txt");
    vm::mailbox::VmbLoadArray(table);
    EXPECT_EQ(table.upperBound(), 0);
    QDir(app.file("data/VmBoxList.xml")).removeRecursively();
    mkfifo("data/VmBoxList.xml");
    vm::mailbox::VmbLoadArray(table);
    EXPECT_EQ(table.upperBound(), 0);
}
