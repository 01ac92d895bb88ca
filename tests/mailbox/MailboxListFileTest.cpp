#include "mailbox/ListLineParser.h"
#include "mailbox/VmailLib.h"
#include "platform/AnsiText.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"
#include "support/TempAppFolder.h"
#include "MailboxTestSupport.h"

#include <QDir>

#include <array>
#include <random>

#include <gtest/gtest.h>

using vm::VoicemailBox;
using vm::test::errorNumberOf;

namespace {

const QByteArray kHead = "<?xml version=\"1.0\"?>\r\n<VoicemailBoxes>\r\n";
const QByteArray kTail = "</VoicemailBoxes>\r\n";
const QByteArray kEmptyBox101 =
    "<VoicemailBox Id=\"101\"><Pin></Pin><Groups></Groups><Description></Description><EmailForward>"
    "</EmailForward><PhoneForward></PhoneForward><PagerNumber></PagerNumber><PagerMessage></PagerMessage>"
    "<OnReceive></OnReceive><FtpUpload>0</FtpUpload><DeleteAfterForward>0</DeleteAfterForward></VoicemailBox>\r\n";

void setTable(const std::vector<VoicemailBox>& boxes)
{
    vm::VmbArray().resetToElementZero();
    for (const VoicemailBox& b : boxes)
        vm::VmbArray().store(vm::VmbArray().append(), b);
}

VoicemailBox box(const char* id)
{
    VoicemailBox b;
    b.Id = QString::fromLatin1(id);
    return b;
}

class MailboxListFile : public ::testing::Test {
protected:
    void TearDown() override
    {
        vm::fs::setWriteFaultHook(nullptr);
        vm::VmbArray().unsize();
    }
    QByteArray list() const { return app.read(QStringLiteral("data/VmBoxList.xml")); }
    vm::test::TempAppFolder app;
};

}  // namespace

TEST_F(MailboxListFile, WritesExactBytesSortedWithBlankEntries)
{
    VoicemailBox full = box("9");
    full.Pin = QStringLiteral("1234");
    full.Groups = QStringLiteral("1,2");
    full.Description = QString::fromUtf8("a<b & \"c\" \u00e9\u20ac\u4e2d ");
    full.EmailForward = QStringLiteral("x@y.z");
    full.PhoneForward = QStringLiteral("555");
    full.PagerNumber = QStringLiteral("777");
    full.PagerMessage = QStringLiteral("42");
    full.OnReceive = QStringLiteral("run.exe %1");
    full.FtpUpload = 1;
    full.DeleteAfterForward = -1;
    full.SeenInFile = 1;  // never written
    setTable({full, box("101"), box("")});
    vm::VmbSaveXML();
    EXPECT_EQ(list(), kHead + QByteArray(kEmptyBox101).replace("\"101\"", "\"\"") + kEmptyBox101 +
                          "<VoicemailBox Id=\"9\"><Pin>1234</Pin><Groups>1,2</Groups><Description>a<b & \"c\" "
                          "\xe9\x80? </Description><EmailForward>x@y.z</EmailForward><PhoneForward>555</PhoneForward>"
                          "<PagerNumber>777</PagerNumber><PagerMessage>42</PagerMessage><OnReceive>run.exe %1"
                          "</OnReceive><FtpUpload>1</FtpUpload><DeleteAfterForward>-1</DeleteAfterForward>"
                          "</VoicemailBox>\r\n" + kTail);
}

TEST_F(MailboxListFile, PreviousFileSurvivesEmptyTablesAndFailedWrites)
{
    const QByteArray old = kHead + kEmptyBox101 + kTail;
    app.write(QStringLiteral("data/VmBoxList.xml"), old);
    vm::VmbSaveXML();  // never sized
    vm::VmbArray().resetToElementZero();
    vm::VmbSaveXML();  // no boxes
    EXPECT_EQ(list(), old);

    setTable({box("1"), box("2")});
    vm::fs::setWriteFaultHook([](const QString&, std::int64_t) { throw vm::RuntimeError(vm::err::DiskFull); });
    EXPECT_EQ(errorNumberOf([] { vm::VmbSaveXML(); }), vm::err::DiskFull);
    EXPECT_EQ(list(), old);
    const QStringList left = QDir(app.file(QStringLiteral("data"))).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList{QStringLiteral("VmBoxList.xml")});  // no temporary file behind

    vm::fs::setWriteFaultHook(nullptr);
    QDir(app.file(QStringLiteral("data"))).removeRecursively();
    EXPECT_EQ(errorNumberOf([] { vm::VmbSaveXML(); }), vm::err::PathNotFound);
}

TEST(XmlTagValue, TextBetweenMarkersAndClassicErrors)
{
    const std::vector<std::array<const char*, 4>> cases = {  // line, start, end, value
        {"a<x>val</x>b", "<x>", "</x>", "val"}, {"a<X>val</x>b", "<x>", "</X>", "val"},
        {"<x></x>", "<x>", "</x>", ""},         {"</x><x>v</x>", "<x>", "</x>", "v"},
        {"<x>v", "<x>", "</x>", ""},            {"v</x>", "<x>", "</x>", ""},
        {"<x>a</x>b</x>", "<x>", "</x>", "a"},  {"<<x>v</x>", "<x>", "</x>", "v"},
        {"k=1;", "K=", ";", "1"},               {"a\xe9=1;", "\xc9=", ";", "1"},
    };
    for (const auto& [line, start, end, value] : cases)
        EXPECT_EQ(vm::XmlTagValue(QString::fromLatin1(line), QString::fromLatin1(start), QString::fromLatin1(end)),
                  QString::fromLatin1(value)) << line;
    // The Kelvin sign folds to k: markers match it as they match K.
    EXPECT_EQ(vm::XmlTagValue(QString::fromUtf8("\u212a=1;"), QStringLiteral("k="), QStringLiteral(";")), QStringLiteral("1"));
    // The end marker overlapping the start marker gives a negative length.
    EXPECT_EQ(errorNumberOf([] { vm::XmlTagValue(QStringLiteral("<VoicemailBox Id=\">"), QStringLiteral("VoicemailBox Id=\""), QStringLiteral("\">")); }),
              vm::err::InvalidProcedureCall);
    const QString far = QString(40000, u'a') + QStringLiteral("<x>v</x>");  // positions are 16-bit
    EXPECT_EQ(errorNumberOf([&] { vm::XmlTagValue(far, QStringLiteral("<x>"), QStringLiteral("</x>")); }), vm::err::Overflow);
}

TEST(VmbParseXmlLine, ReaderQuirks)
{
    const auto rec = [](const char* id, const char* pin = "", const char* descr = "", const char* pager = "",
                        std::int16_t ftp = 0, std::int16_t del = 0) {
        VoicemailBox b = box(id);
        b.Pin = QString::fromLatin1(pin);
        b.Description = QString::fromLatin1(descr);
        b.PagerNumber = QString::fromLatin1(pager);
        b.FtpUpload = ftp;
        b.DeleteAfterForward = del;
        return b;
    };
    const std::vector<std::pair<const char*, VoicemailBox>> cases = {
        {"<voicemailbox id=\"7\"><pin>1</pin></voicemailbox>", rec("7", "1")},
        {"<VoicemailBox Id=\"3\"><FtpUpload>1</FtpUpload><Pin>x</Pin>", rec("3", "x", "", "", 1)},
        {"<VoicemailBox Id=\" 12 \"><Pin> p </Pin>", rec(" 12 ", " p ")},
        {"<VoicemailBox Id=\"1\"><Description>a</Description>b</Description>", rec("1", "", "a")},
        {"<VoicemailBox Id=\"1\"><Description>x<PagerNumber>y</Description><PagerNumber>5</PagerNumber>",
         rec("1", "", "x<PagerNumber>y", "y</Description><PagerNumber>5")},
        {"<VoicemailBox Id=\"1\"><Pin>a</Pin></VoicemailBox><VoicemailBox Id=\"2\"><Pin>b</Pin>", rec("1", "a")},
        {"<VoicemailBox Id=\"1\"><Description>&lt;&amp;</Description>", rec("1", "", "&lt;&amp;")},
        {"<VoicemailBox Id=\"4\"><FtpUpload>2.5</FtpUpload><DeleteAfterForward>3.5</DeleteAfterForward>",
         rec("4", "", "", "", 2, 4)},
        {"<VoicemailBox Id=\"4\"><FtpUpload>yes</FtpUpload><DeleteAfterForward>70000</DeleteAfterForward>", rec("4")},
        // No Id: status -1 and only Id is assigned.
        {"<VoicemailBox Id=\"\"><Pin>1</Pin>", rec("", "old", "", "old")},
        {"<VoicemailBox  Id=\"5\"><Pin>1</Pin>", rec("", "old", "", "old")},
        {"<VoicemailBox Id='5'><Pin>1</Pin>", rec("", "old", "", "old")},
    };
    for (const auto& [line, expected] : cases) {
        VoicemailBox got = rec("old", "old", "", "old");
        const int status = vm::VmbParseXmlLine(QString::fromLatin1(line), got.Id, got.Pin, got.Groups, got.Description,
                                               got.EmailForward, got.PhoneForward, got.PagerNumber, got.PagerMessage,
                                               got.OnReceive, got.FtpUpload, got.DeleteAfterForward);
        EXPECT_EQ(status, expected.Id.isEmpty() ? -1 : 0) << line;
        EXPECT_EQ(got, expected) << line;
    }
}

TEST(FlagFromText, NumbersRoundHalfToEvenOtherTextIsZero)
{
    const std::vector<std::pair<const char*, int>> cases = {
        {"0", 0},     {"1", 1},     {"", 0},       {" 1 ", 1},         {"-1", -1},     {"+3", 3},
        {"2.5", 2},   {"3.5", 4},   {"-0.5", 0},   {"1e1", 10},        {"1E+2", 100},  {"32767", 32767},
        {"32768", 0}, {"-32768", -32768}, {"abc", 0}, {"1x", 0},       {"1.2.3", 0},   {"e5", 0},
        {"1e", 0},    {"&H10", 0},  {"inf", 0},    {"nan", 0},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(vm::flagFromText(QString::fromLatin1(text)), value) << text;
}

// The start-up load reads raw bytes, lines as the writer makes them in one
// pass: whatever the line, it must read what VmbParseXmlLine reads in the text.
TEST(ListLineParser, BytesReadAsTheTextReaderReadsThem)
{
    std::mt19937 rng(11);
    const QByteArrayList pieces = {"", "1", "a", "<", ">", "\"", "\">", "</Pin>", "<pin>", "<PagerNumber>",
                                   "\xe9", "\x8a", "&amp;", " ", "0", "2.5"};
    const auto value = [&] {
        QByteArray v;
        for (int k = static_cast<int>(rng() % 3); k > 0; --k)
            v += pieces[static_cast<int>(rng() % pieces.size())];
        return v;
    };
    for (int n = 0; n < 5000; ++n) {
        QByteArray line = "<VoicemailBox Id=\"" + value() + "\">";
        for (const char* name : {"Pin", "Groups", "Description", "EmailForward", "PhoneForward", "PagerNumber",
                                 "PagerMessage", "OnReceive", "FtpUpload", "DeleteAfterForward"})
            line += QByteArray("<") + name + ">" + value() + "</" + name + ">";
        line += "</VoicemailBox>";
        if (rng() % 4 == 0)
            line.insert(static_cast<qsizetype>(rng() % line.size()), pieces[static_cast<int>(rng() % pieces.size())]);
        if (rng() % 4 == 0)
            line.remove(static_cast<qsizetype>(rng() % line.size()), 1);
        if (rng() % 8 == 0)
            line = line.toLower();

        VoicemailBox bytes, text;
        bool read = false;
        int status = 0;
        const int bytesError = errorNumberOf([&] { read = vm::parseListLine(line, bytes); });
        const int textError = errorNumberOf([&] {
            status = vm::VmbParseXmlLine(vm::ansi::decode(line), text.Id, text.Pin, text.Groups, text.Description,
                                         text.EmailForward, text.PhoneForward, text.PagerNumber, text.PagerMessage,
                                         text.OnReceive, text.FtpUpload, text.DeleteAfterForward);
        });
        ASSERT_EQ(bytesError, textError) << line.constData();
        ASSERT_EQ(read, status == 0 && textError == 0) << line.constData();
        if (read) {
            ASSERT_EQ(bytes, text) << line.constData();
        }
    }
}
