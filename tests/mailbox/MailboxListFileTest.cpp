#include "MailboxTestSupport.h"
#include "config/Paths.h"
#include "mailbox/ListLineParser.h"
#include "mailbox/MailboxListFile.h"
#include "support/FaultInjection.h"
#include "support/TempAppFolder.h"

#include <QDir>

#include <gtest/gtest.h>

using vm::mailbox::VoicemailBox;
using vm::test::boxWithId;
using vm::test::errorNumberOf;

namespace {

const QByteArray kHead = "<?xml version=\"1.0\"?>\r\n<VoicemailBoxes>\r\n";
const QByteArray kTail = "</VoicemailBoxes>\r\n";
const QByteArray kEmptyBox101 =
    "<VoicemailBox Id=\"101\"><Pin></Pin><Groups></Groups><Description></Description><EmailForward>"
    "</EmailForward><PhoneForward></PhoneForward><PagerNumber></PagerNumber><PagerMessage></PagerMessage>"
    "<OnReceive></OnReceive><FtpUpload>0</FtpUpload><DeleteAfterForward>0</DeleteAfterForward></VoicemailBox>\r\n";

class MailboxListFile : public ::testing::Test {
protected:
    QByteArray list() const { return app.read("data/VmBoxList.xml"); }
    void save() { vm::mailbox::saveMailboxList(table, vm::config::mailboxList()); }
    vm::test::TempAppFolder app;
    vm::mailbox::MailboxTable table;
};

}  // namespace

TEST_F(MailboxListFile, WritesExactBytesSortedWithBlankEntries)
{
    const vm::mailbox::VoicemailBox full{.Id = "9",
                                         .Pin = "1234",
                                         .Description = "a<b & \"c\" \u00e9\u20ac\u4e2d ",
                                         .Groups = "1,2",
                                         .EmailForward = "x@y.z",
                                         .PhoneForward = "555",
                                         .PagerNumber = "777",
                                         .PagerMessage = "42",
                                         .OnReceive = "run.exe %1",
                                         .FtpUpload = 1,
                                         .DeleteAfterForward = -1,
                                         .SeenInFile = 1};  // never written
    vm::test::setTable(table, {full, boxWithId("101"), boxWithId("")});
    save();
    EXPECT_EQ(list(), kHead + QByteArray(kEmptyBox101).replace("\"101\"", "\"\"") + kEmptyBox101 +
                          "<VoicemailBox Id=\"9\"><Pin>1234</Pin><Groups>1,2</Groups><Description>a<b & \"c\" "
                          "\xe9\x80? </Description><EmailForward>x@y.z</EmailForward><PhoneForward>555</PhoneForward>"
                          "<PagerNumber>777</PagerNumber><PagerMessage>42</PagerMessage><OnReceive>run.exe %1"
                          "</OnReceive><FtpUpload>1</FtpUpload><DeleteAfterForward>-1</DeleteAfterForward>"
                          "</VoicemailBox>\r\n" +
                          kTail);
}

TEST_F(MailboxListFile, PreviousFileSurvivesEmptyTablesAndFailedWrites)
{
    const QByteArray old = kHead + kEmptyBox101 + kTail;
    app.write("data/VmBoxList.xml", old);
    save();  // never sized
    table.resetToElementZero();
    save();  // no boxes
    EXPECT_EQ(list(), old);

    vm::test::setTable(table, {boxWithId("1"), boxWithId("2")});
    {
        using vm::test::FileStep;
        const vm::test::ScopedFault diskFull(
            vm::test::failStep(FileStep::Write, "VmBoxList.xml", vm::platform::err::DiskFull));
        EXPECT_EQ(errorNumberOf([&] { save(); }), vm::platform::err::DiskFull);
    }
    EXPECT_EQ(list(), old);
    EXPECT_EQ(QDir(app.file("data")).entryList(QDir::Files | QDir::Hidden),
              QStringList{"VmBoxList.xml"});  // no temporary file

    QDir(app.file("data")).removeRecursively();
    EXPECT_EQ(errorNumberOf([&] { save(); }), vm::platform::err::PathNotFound);
}

// What the reader takes from one line: plain text search ignoring case, the
// first start tag and the first end tag after it, nothing decoded but the
// code page.
TEST(ListLineReader, ReaderQuirks)
{
    const vm::mailbox::VoicemailBox noId{.Pin = "old", .PagerNumber = "old"};  // no box: only Id is assigned
    const std::pair<const char*, vm::mailbox::VoicemailBox> cases[] = {
        {"<voicemailbox id=\"7\"><pin>1</pin></voicemailbox>", {.Id = "7", .Pin = "1"}},
        {"<VoicemailBox Id=\"3\"><FtpUpload>1</FtpUpload><PIN>x</pIn>", {.Id = "3", .Pin = "x", .FtpUpload = 1}},
        {"<VoicemailBox Id=\" 12 \"><Pin> p </Pin>", {.Id = " 12 ", .Pin = " p "}},
        {"<VoicemailBox Id=\"1\"><Description>a</Description>b</Description>", {.Id = "1", .Description = "a"}},
        {"<VoicemailBox Id=\"1\"><Description>x<PagerNumber>y</Description><PagerNumber>5</PagerNumber>",
         {.Id = "1", .Description = "x<PagerNumber>y", .PagerNumber = "y</Description><PagerNumber>5"}},
        {"<VoicemailBox Id=\"1\"><Pin>a</Pin></VoicemailBox><VoicemailBox Id=\"2\"><Pin>b</Pin>",
         {.Id = "1", .Pin = "a"}},
        {"<VoicemailBox Id=\"1\"></Pin><Pin>v</Pin><<Groups>g</Groups><Description>d",
         {.Id = "1", .Pin = "v", .Groups = "g"}},
        {"<VoicemailBox Id=\"1\">v</Pin><Description>&lt;&amp;\xe9</Description>",
         {.Id = "1", .Description = "&lt;&amp;\u00e9"}},
        {"<VoicemailBox Id=\"4\"><FtpUpload>2.5</FtpUpload><DeleteAfterForward>3.5</DeleteAfterForward>",
         {.Id = "4", .FtpUpload = 2, .DeleteAfterForward = 4}},
        {"<VoicemailBox Id=\"\"><Pin>1</Pin>", noId},
        {"<VoicemailBox  Id=\"5\"><Pin>1</Pin>", noId},
        {"<VoicemailBox Id='5'><Pin>1</Pin>", noId},
    };
    for (const auto& [line, expected] : cases) {
        vm::mailbox::VoicemailBox got{.Id = "old", .Pin = "old", .PagerNumber = "old"};
        EXPECT_EQ(vm::mailbox::parseListLine(line, got), !expected.Id.isEmpty()) << line;
        EXPECT_EQ(got, expected) << line;
    }
    // The Id's end marker overlapping its start marker gives a negative length; positions are 16-bit.
    vm::mailbox::VoicemailBox box;
    EXPECT_EQ(errorNumberOf([&] { vm::mailbox::parseListLine("<VoicemailBox Id=\">", box); }),
              vm::platform::err::InvalidProcedureCall);
    EXPECT_EQ(errorNumberOf([&] { vm::mailbox::parseListLine(QByteArray(32768, 'a'), box); }),
              vm::platform::err::Overflow);
}

TEST(FlagFromText, NumbersRoundHalfToEvenOtherTextIsZero)
{
    const std::pair<const char*, int> cases[] = {
        {"", 0},        {" 9 ", 9},       {"-1", -1},   {"2.5", 2},         {"3.5", 4},
        {"10E+1", 100}, {"32767", 32767}, {"32768", 0}, {"-32768", -32768}, {"abc", 0},
        {"1x", 0},      {"1.2.3", 0},     {"1e", 0},    {"&H10", 0},        {"nan", 0},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(vm::mailbox::flagFromText(QString::fromLatin1(text)), value) << text;
}
