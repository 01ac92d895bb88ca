#include "MailboxTestSupport.h"
#include "config/Paths.h"
#include "mailbox/ListLine.h"
#include "mailbox/ListLineParser.h"
#include "mailbox/MailboxListFile.h"
#include "platform/AnsiText.h"
#include "support/FaultInjection.h"
#include "support/TempAppFolder.h"

#include <QDir>

#include <array>
#include <random>

#include <gtest/gtest.h>

using vm::VoicemailBox;
using vm::test::boxWithId;
using vm::test::errorNumberOf;

namespace {

const QByteArray kHead = "<?xml version=\"1.0\"?>\r\n<VoicemailBoxes>\r\n";
const QByteArray kTail = "</VoicemailBoxes>\r\n";
const QByteArray kEmptyBox101 =
    "<VoicemailBox Id=\"101\"><Pin></Pin><Groups></Groups><Description></Description><EmailForward>"
    "</EmailForward><PhoneForward></PhoneForward><PagerNumber></PagerNumber><PagerMessage></PagerMessage>"
    "<OnReceive></OnReceive><FtpUpload>0</FtpUpload><DeleteAfterForward>0</DeleteAfterForward></VoicemailBox>\r\n";

// The text reader with the box's fields as its outputs; returns its status.
int parseXmlLine(const QString& line, VoicemailBox& b)
{
    return vm::VmbParseXmlLine(line, b.Id, b.Pin, b.Groups, b.Description, b.EmailForward, b.PhoneForward,
                               b.PagerNumber, b.PagerMessage, b.OnReceive, b.FtpUpload, b.DeleteAfterForward);
}

class MailboxListFile : public ::testing::Test {
protected:
    QByteArray list() const { return app.read("data/VmBoxList.xml"); }
    void save() { vm::saveMailboxList(table, vm::paths::mailboxList()); }
    vm::test::TempAppFolder app;
    vm::MailboxTable table;
};

}  // namespace

TEST_F(MailboxListFile, WritesExactBytesSortedWithBlankEntries)
{
    const VoicemailBox full{.Id = "9",
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
        const vm::test::ScopedFault diskFull(vm::test::failStep(FileStep::Write, "VmBoxList.xml", vm::err::DiskFull));
        EXPECT_EQ(errorNumberOf([&] { save(); }), vm::err::DiskFull);
    }
    EXPECT_EQ(list(), old);
    EXPECT_EQ(QDir(app.file("data")).entryList(QDir::Files | QDir::Hidden),
              QStringList{"VmBoxList.xml"});  // no temporary file

    QDir(app.file("data")).removeRecursively();
    EXPECT_EQ(errorNumberOf([&] { save(); }), vm::err::PathNotFound);
}

TEST(XmlTagValue, TextBetweenMarkersAndClassicErrors)
{
    const std::array<const char*, 4> cases[] = {
        // line, start, end, value
        {"a<x>val</x>b", "<x>", "</x>", "val"},
        {"a<X>val</x>b", "<x>", "</X>", "val"},
        {"<x></x>", "<x>", "</x>", ""},
        {"</x><x>v</x>", "<x>", "</x>", "v"},
        {"<x>v", "<x>", "</x>", ""},
        {"v</x>", "<x>", "</x>", ""},
        {"<x>a</x>b</x>", "<x>", "</x>", "a"},
        {"<<x>v</x>", "<x>", "</x>", "v"},
        {"k=1;", "K=", ";", "1"},
        {"xA=1;", "a=", ";", "1"},
        {"a\xe9=1;", "\xc9=", ";", "1"},
    };
    for (const auto& [line, start, end, value] : cases)
        EXPECT_EQ(vm::XmlTagValue(QString::fromLatin1(line), QString::fromLatin1(start), QString::fromLatin1(end)),
                  QString::fromLatin1(value))
            << line;
    // The Kelvin sign folds to k: markers match it as they match K.
    EXPECT_EQ(vm::XmlTagValue("\u212a=1;", "k=", ";"), "1");
    // The end marker overlapping the start marker gives a negative length; positions are 16-bit.
    EXPECT_EQ(errorNumberOf([] { vm::XmlTagValue("<VoicemailBox Id=\">", "VoicemailBox Id=\"", "\">"); }),
              vm::err::InvalidProcedureCall);
    const QString far = QString(40000, u'a') + "<x>v</x>";
    EXPECT_EQ(errorNumberOf([&] { vm::XmlTagValue(far, "<x>", "</x>"); }), vm::err::Overflow);
}

TEST(VmbParseXmlLine, ReaderQuirks)
{
    const VoicemailBox noId{.Pin = "old", .PagerNumber = "old"};  // status -1: only Id is assigned
    const std::pair<const char*, VoicemailBox> cases[] = {
        {"<voicemailbox id=\"7\"><pin>1</pin></voicemailbox>", {.Id = "7", .Pin = "1"}},
        {"<VoicemailBox Id=\"3\"><FtpUpload>1</FtpUpload><Pin>x</Pin>", {.Id = "3", .Pin = "x", .FtpUpload = 1}},
        {"<VoicemailBox Id=\" 12 \"><Pin> p </Pin>", {.Id = " 12 ", .Pin = " p "}},
        {"<VoicemailBox Id=\"1\"><Description>a</Description>b</Description>", {.Id = "1", .Description = "a"}},
        {"<VoicemailBox Id=\"1\"><Description>x<PagerNumber>y</Description><PagerNumber>5</PagerNumber>",
         {.Id = "1", .Description = "x<PagerNumber>y", .PagerNumber = "y</Description><PagerNumber>5"}},
        {"<VoicemailBox Id=\"1\"><Pin>a</Pin></VoicemailBox><VoicemailBox Id=\"2\"><Pin>b</Pin>",
         {.Id = "1", .Pin = "a"}},
        {"<VoicemailBox Id=\"1\"><Description>&lt;&amp;</Description>", {.Id = "1", .Description = "&lt;&amp;"}},
        {"<VoicemailBox Id=\"4\"><FtpUpload>2.5</FtpUpload><DeleteAfterForward>3.5</DeleteAfterForward>",
         {.Id = "4", .FtpUpload = 2, .DeleteAfterForward = 4}},
        {"<VoicemailBox Id=\"\"><Pin>1</Pin>", noId},
        {"<VoicemailBox  Id=\"5\"><Pin>1</Pin>", noId},
        {"<VoicemailBox Id='5'><Pin>1</Pin>", noId},
    };
    for (const auto& [line, expected] : cases) {
        VoicemailBox got{.Id = "old", .Pin = "old", .PagerNumber = "old"};
        EXPECT_EQ(parseXmlLine(QString::fromLatin1(line), got), expected.Id.isEmpty() ? -1 : 0) << line;
        EXPECT_EQ(got, expected) << line;
    }
}

TEST(FlagFromText, NumbersRoundHalfToEvenOtherTextIsZero)
{
    const std::pair<const char*, int> cases[] = {
        {"", 0},        {" 9 ", 9},       {"-1", -1},   {"2.5", 2},         {"3.5", 4},
        {"10E+1", 100}, {"32767", 32767}, {"32768", 0}, {"-32768", -32768}, {"abc", 0},
        {"1x", 0},      {"1.2.3", 0},     {"1e", 0},    {"&H10", 0},        {"nan", 0},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(vm::flagFromText(QString::fromLatin1(text)), value) << text;
}

// The start-up load reads raw bytes, lines as the writer makes them in one
// pass: whatever the line, it must read what VmbParseXmlLine reads in the text.
TEST(ListLineParser, BytesReadAsTheTextReaderReadsThem)
{
    std::mt19937 rng(11);
    const QByteArrayList pieces = {"",     "1",    "a",     "<", ">", "\"", "\">", "</Pin>", "<pin>", "<PagerNumber>",
                                   "\xe9", "\x8a", "&amp;", " ", "0", "2.5"};
    const auto piece = [&] { return pieces[static_cast<int>(rng() % pieces.size())]; };
    const auto value = [&] {
        QByteArray v;
        for (int k = static_cast<int>(rng() % 3); k > 0; --k)
            v += piece();
        return v;
    };
    for (int n = 0; n < 5000; ++n) {
        QByteArray line = "<VoicemailBox Id=\"" + value() + "\">";
        for (const char* name : {"Pin", "Groups", "Description", "EmailForward", "PhoneForward", "PagerNumber",
                                 "PagerMessage", "OnReceive", "FtpUpload", "DeleteAfterForward"})
            line += QByteArray("<") + name + ">" + value() + "</" + name + ">";
        line += "</VoicemailBox>";
        if (rng() % 4 == 0)
            line.insert(static_cast<qsizetype>(rng() % line.size()), piece());
        if (rng() % 4 == 0)
            line.remove(static_cast<qsizetype>(rng() % line.size()), 1);
        if (rng() % 8 == 0)
            line = line.toLower();

        VoicemailBox bytes, text;
        bool read = false;
        int status = 0;
        const int bytesError = errorNumberOf([&] { read = vm::parseListLine(line, bytes); });
        const int textError = errorNumberOf([&] { status = parseXmlLine(vm::ansi::decode(line), text); });
        ASSERT_EQ(bytesError, textError) << line.constData();
        ASSERT_EQ(read, status == 0 && textError == 0) << line.constData();
        if (read) {
            ASSERT_EQ(bytes, text) << line.constData();
        }
    }
}
