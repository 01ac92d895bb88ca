#include "mailbox/MailboxListFile.h"
#include "mailbox/VmailLib.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"
#include "support/TempAppFolder.h"

#include <QDir>

#include <gtest/gtest.h>

using vm::VoicemailBox;

namespace {

const char* const kEmptyLine101 =
    "<VoicemailBox Id=\"101\"><Pin></Pin><Groups></Groups><Description></Description><EmailForward>"
    "</EmailForward><PhoneForward></PhoneForward><PagerNumber></PagerNumber><PagerMessage></PagerMessage>"
    "<OnReceive></OnReceive><FtpUpload>0</FtpUpload><DeleteAfterForward>0</DeleteAfterForward></VoicemailBox>";

QByteArray listFile(const QByteArray& lines)
{
    return "<?xml version=\"1.0\"?>\r\n<VoicemailBoxes>\r\n" + lines + "</VoicemailBoxes>\r\n";
}

void setTable(const std::vector<VoicemailBox>& boxes)
{
    vm::VmbArray().resetToElementZero();
    for (const VoicemailBox& b : boxes)
        vm::VmbArray().store(vm::VmbArray().append(), b);
}

VoicemailBox box(const QString& id)
{
    VoicemailBox b;
    b.Id = id;
    return b;
}

int errorNumberOf(const std::function<void()>& step)
{
    try {
        step();
    } catch (const vm::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

class MailboxListFile : public ::testing::Test {
protected:
    void TearDown() override
    {
        vm::fs::setWriteFaultHook(nullptr);
        vm::VmbArray().unsize();
    }
    vm::test::TempAppFolder app;
};

}  // namespace

TEST_F(MailboxListFile, WritesExactBytesSortedWithBlankEntries)
{
    VoicemailBox full = box(QStringLiteral("9"));
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
    setTable({full, box(QStringLiteral("101")), box(QString())});

    vm::VmbSaveXML();

    const QByteArray expected = listFile(
        "<VoicemailBox Id=\"\"><Pin></Pin><Groups></Groups><Description></Description><EmailForward>"
        "</EmailForward><PhoneForward></PhoneForward><PagerNumber></PagerNumber><PagerMessage></PagerMessage>"
        "<OnReceive></OnReceive><FtpUpload>0</FtpUpload><DeleteAfterForward>0</DeleteAfterForward>"
        "</VoicemailBox>\r\n"
        + QByteArray(kEmptyLine101) + "\r\n"
        "<VoicemailBox Id=\"9\"><Pin>1234</Pin><Groups>1,2</Groups><Description>a<b & \"c\" \xe9\x80? "
        "</Description><EmailForward>x@y.z</EmailForward><PhoneForward>555</PhoneForward><PagerNumber>777"
        "</PagerNumber><PagerMessage>42</PagerMessage><OnReceive>run.exe %1</OnReceive><FtpUpload>1"
        "</FtpUpload><DeleteAfterForward>-1</DeleteAfterForward></VoicemailBox>\r\n");
    EXPECT_EQ(app.read(QStringLiteral("data/VmBoxList.xml")), expected);
    EXPECT_EQ(vm::VmbArray().at(3).Id, QStringLiteral("9"));  // the table itself was sorted
}

TEST_F(MailboxListFile, TableWithoutBoxesLeavesTheFileAlone)
{
    const QByteArray old = "old list, not even valid\r\n";
    app.write(QStringLiteral("data/VmBoxList.xml"), old);
    vm::VmbArray().unsize();
    vm::VmbSaveXML();
    EXPECT_EQ(app.read(QStringLiteral("data/VmBoxList.xml")), old);
    vm::VmbArray().resetToElementZero();
    vm::VmbSaveXML();
    EXPECT_EQ(app.read(QStringLiteral("data/VmBoxList.xml")), old);
}

TEST_F(MailboxListFile, FailedWriteLeavesThePreviousFileByteIdentical)
{
    const QByteArray old = listFile(QByteArray(kEmptyLine101) + "\r\n");
    app.write(QStringLiteral("data/VmBoxList.xml"), old);
    setTable({box(QStringLiteral("1")), box(QStringLiteral("2"))});

    vm::fs::setWriteFaultHook([](const QString&, std::int64_t) { throw vm::RuntimeError(vm::err::DiskFull); });
    EXPECT_EQ(errorNumberOf([] { vm::VmbSaveXML(); }), vm::err::DiskFull);
    vm::fs::setWriteFaultHook(nullptr);

    EXPECT_EQ(app.read(QStringLiteral("data/VmBoxList.xml")), old);
    const QStringList left = QDir(app.file(QStringLiteral("data"))).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList{QStringLiteral("VmBoxList.xml")});  // no temporary file behind
}

TEST_F(MailboxListFile, MissingFolderReachesTheCaller)
{
    setTable({box(QStringLiteral("1"))});
    QDir(app.file(QStringLiteral("data"))).removeRecursively();
    EXPECT_EQ(errorNumberOf([] { vm::VmbSaveXML(); }), vm::err::PathNotFound);
}

TEST(XmlTagValue, FindsTextBetweenMarkers)
{
    struct Case {
        const char* line;
        const char* start;
        const char* end;
        const char* value;
    };
    const std::vector<Case> cases = {
        {"a<x>val</x>b", "<x>", "</x>", "val"},
        {"a<X>val</x>b", "<x>", "</X>", "val"},  // any letter case
        {"<x></x>", "<x>", "</x>", ""},
        {"</x><x>v</x>", "<x>", "</x>", "v"},  // end searched from the start marker on
        {"<x>v", "<x>", "</x>", ""},           // no end
        {"v</x>", "<x>", "</x>", ""},          // no start
        {"<x>a</x>b</x>", "<x>", "</x>", "a"},
        {"<x>&amp;</x>", "<x>", "</x>", "&amp;"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vm::XmlTagValue(QString::fromLatin1(c.line), QString::fromLatin1(c.start),
                                  QString::fromLatin1(c.end)),
                  QString::fromLatin1(c.value))
            << c.line;
}

TEST(XmlTagValue, ClassicErrors)
{
    // The end marker overlaps the start marker: a negative length.
    EXPECT_EQ(errorNumberOf([] {
                  vm::XmlTagValue(QStringLiteral("<VoicemailBox Id=\">"), QStringLiteral("VoicemailBox Id=\""),
                                  QStringLiteral("\">"));
              }),
              vm::err::InvalidProcedureCall);
    // Positions are 16-bit.
    const QString far = QString(40000, u'a') + QStringLiteral("<x>v</x>");
    EXPECT_EQ(errorNumberOf([&] { vm::XmlTagValue(far, QStringLiteral("<x>"), QStringLiteral("</x>")); }),
              vm::err::Overflow);
}

TEST(VmbParseXmlLine, ReaderQuirks)
{
    struct Case {
        const char* line;
        int status;
        VoicemailBox expected;
    };
    const auto rec = [](const char* id, const char* pin = "", const char* descr = "", const char* pager = "",
                        std::int16_t ftp = 0, std::int16_t del = 0) {
        VoicemailBox b;
        b.Id = QString::fromLatin1(id);
        b.Pin = QString::fromLatin1(pin);
        b.Description = QString::fromLatin1(descr);
        b.PagerNumber = QString::fromLatin1(pager);
        b.FtpUpload = ftp;
        b.DeleteAfterForward = del;
        return b;
    };
    const std::vector<Case> cases = {
        {"<voicemailbox id=\"7\"><pin>1</pin></voicemailbox>", 0, rec("7", "1")},
        {"<VoicemailBox Id=\"3\"><FtpUpload>1</FtpUpload><Pin>x</Pin></VoicemailBox>", 0, rec("3", "x", "", "", 1)},
        {"<VoicemailBox Id=\" 12 \"><Pin> p </Pin>", 0, rec(" 12 ", " p ")},
        {"<VoicemailBox Id=\"1\"><Description>a</Description>b</Description>", 0, rec("1", "", "a")},
        {"<VoicemailBox Id=\"1\"><Description>x<PagerNumber>y</Description><PagerNumber>5</PagerNumber>", 0,
         rec("1", "", "x<PagerNumber>y", "y</Description><PagerNumber>5")},
        {"<VoicemailBox Id=\"1\"><Pin>a</Pin></VoicemailBox><VoicemailBox Id=\"2\"><Pin>b</Pin>", 0, rec("1", "a")},
        {"<VoicemailBox Id=\"1\"><Description>&lt;&amp;</Description>", 0, rec("1", "", "&lt;&amp;")},
        {"<VoicemailBox Id=\"4\"><FtpUpload>2.5</FtpUpload><DeleteAfterForward>3.5</DeleteAfterForward>", 0,
         rec("4", "", "", "", 2, 4)},
        {"<VoicemailBox Id=\"4\"><FtpUpload>yes</FtpUpload><DeleteAfterForward>70000</DeleteAfterForward>", 0,
         rec("4")},
        {"<VoicemailBox Id=\"\"><Pin>1</Pin>", -1, rec("")},
        {"<VoicemailBox  Id=\"5\"><Pin>1</Pin>", -1, rec("")},  // two blanks
        {"<VoicemailBox Id='5'><Pin>1</Pin>", -1, rec("")},
        {"<?xml version=\"1.0\"?>", -1, rec("")},
    };
    for (const Case& c : cases) {
        VoicemailBox got;
        got.Pin = QStringLiteral("untouched");
        got.PagerNumber = QStringLiteral("untouched");
        VoicemailBox expected = c.expected;
        if (c.status != 0) {
            expected.Pin = got.Pin;
            expected.PagerNumber = got.PagerNumber;
        }
        const int status = vm::VmbParseXmlLine(QString::fromLatin1(c.line), got.Id, got.Pin, got.Groups,
                                               got.Description, got.EmailForward, got.PhoneForward,
                                               got.PagerNumber, got.PagerMessage, got.OnReceive, got.FtpUpload,
                                               got.DeleteAfterForward);
        EXPECT_EQ(status, c.status) << c.line;
        EXPECT_EQ(got, expected) << c.line;
    }
}

TEST(FlagFromText, NumbersRoundHalfToEvenOtherTextIsZero)
{
    const std::vector<std::pair<const char*, int>> cases = {
        {"0", 0},    {"1", 1},      {"", 0},         {" 1 ", 1},    {"-1", -1},      {"+3", 3},
        {"2.5", 2},  {"3.5", 4},    {"-0.5", 0},     {".5", 0},     {"1e1", 10},     {"1E+2", 100},
        {"32767", 32767}, {"-32768", -32768}, {"32768", 0}, {"1e9", 0}, {"abc", 0}, {"1x", 0},
        {"1.2.3", 0}, {"e5", 0},    {"1e", 0},       {"&H10", 0},   {"inf", 0},      {"nan", 0},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(vm::flagFromText(QString::fromLatin1(text)), value) << text;
}
