// The report's formatting rules, checked without any system behind them.
#include "failsafe/SystemInfoFormat.h"

#include "platform/RuntimeError.h"

#include <gtest/gtest.h>

namespace vm::failsafe::sysinfo {
namespace {

using namespace vm::sys;

std::string str(const QString& s) { return s.toStdString(); }

TEST(SystemInfoFormat, ThousandsFormat)
{
    const char* cases[][3] = {
        {"0", ",", ""},
        {"000", ",", ""},
        {"999", ",", "999"},
        {"1000", ",", "1,000"},
        {"4294967296", ",", "4,294,967,296"},
        {"18446744073709551616", ",", "18,446,744,073,709,551,616"},
        {"0042", ",", "42"},
        {"-1234", ",", "-1,234"},
        {"1234567", ".", "1.234.567"},
        {"12.5", ",", "13"},
        {"999.5", ",", "1,000"},
        {"0.4", ",", ""},
        {"True Color", ",", "True Color"},
        {"12abc", ",", "12abc"},
        {"", ",", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(str(formatThousands(QString::fromLatin1(c[0]), QString::fromLatin1(c[1]))), c[2]) << c[0];
}

TEST(SystemInfoFormat, HundredthsFormat)
{
    const std::pair<double, const char*> cases[] = {
        {23.456, "23.46"}, {50, "50."},  {0.5, ".5"},   {0, "."},         {12.3, "12.3"},
        {99.999, "100."},  {0.004, "."}, {0.05, ".05"}, {-1.25, "-1.25"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(str(formatHundredths(in, QStringLiteral("."))), out) << in;
    EXPECT_EQ(str(formatHundredths(23.456, QStringLiteral(","))), "23,46");
}

TEST(SystemInfoFormat, ProcessorTable)
{
    struct Case {
        ProcessorInfo p;
        const char* text;
    };
    const Case cases[] = {
        {{386, 3, 0}, "Intel 386"},
        {{486, 4, 0x0803}, "Intel 386"},
        {{586, 5, 0x0204}, "Pentium"},
        {{586, 15, 0x0209}, "Pentium"},
        {{586, 6, 0x0102}, "Intel Pentium Pro, Model 01, Stepping 02"},
        {{586, 6, 0x1A05}, "Intel Pentium Pro, Model 1A, Stepping 05"},  // model read up to its first non-digit
        {{586, 6, 0x0303}, "Intel Pentium II, Model 3 Stepping 03"},
        {{586, 6, 0x0500}, "Intel Pentium II Model 5, Pentium II Xeon Model 5, or Celeron Model 5, Stepping 00"},
        {{586, 6, 0x060A}, "Intel Celeron Model 6 Stepping, 0A"},
        {{586, 6, 0x0701}, "Intel Pentium III or Pentium III Xeon Model, 07 Stepping 01"},
        {{586, 6, 0x0801}, "Intel Pentium III or Pentium III Xeon Model, 08 Stepping 01"},
        {{586, 6, 0x0A01}, "Unable to determine processor type"},
        {{586, 6, 0xCF02}, "Unable to determine processor type"},
        {{586, 6, 0x0201}, "Unable to determine processor type"},
        {{4000, 0, 0}, "MIPS R4000"},
        {{21064, 0, 0}, "Alpha 21064"},
        {{8664, 6, 0x0801}, "Unknown"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(str(cpuNameText(c.p)), c.text) << c.p.type << " " << c.p.level << " " << std::hex << c.p.revision;
    EXPECT_EQ(str(cpuNameText(std::nullopt)), "");
}

TEST(SystemInfoFormat, WindowsVersionTable)
{
    struct Case {
        OsVersion v;
        const char* text;
    };
    const Case cases[] = {
        {{2, 5, 0, 2195, "Service Pack 4"}, "Windows NT 5.0  (Build 2195) Service Pack 4"},
        {{2, 4, 0, 1381, QByteArray("SP6\0****", 8)}, "Windows NT 4.0  (Build 1381) SP6"},
        {{1, 4, 0, 950, QByteArray("\0****", 5)}, "Windows 95 4.0 (Build 950) "},
        {{1, 3, 95, 1, ""}, "Windows 95 3.95 (Build 1) "},
        {{1, 4, 10, 67766222, " A "}, "Windows 98 4.10 (Build 67766222)  A "},
        {{1, 5, 0, 1, ""}, "Windows 98 5.0 (Build 1) "},
        {{0, 6, 1, 0, "18-amd64"}, "Unknown Version of Microsoft Windows 6.1 (Build 0) 18-amd64"},
        {{3, 1, 2, -1, ""}, "Unknown Version of Microsoft Windows 1.2 (Build -1) "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(str(windowsVersionText(c.v)), c.text);
    EXPECT_EQ(str(windowsVersionText(std::nullopt)), "");
}

TEST(SystemInfoFormat, DriveSection)
{
    const auto drive = [](const char* name, DriveType type, std::optional<std::uint64_t> free = std::nullopt) {
        return Drive{QString::fromLatin1(name), type, free};
    };
    DriveSurvey survey;
    survey.roots = QStringList{"A:\\", "B:\\", "C:\\", "D:\\", "E:\\"};
    survey.drives = {
        drive("A:", DriveType::Removable),
        drive("B:", DriveType::Removable),
        drive("C:", DriveType::Fixed, 10737418240ULL),
        drive("D:", DriveType::CdRom),
        drive("E:", DriveType::Remote),
        drive("F:", DriveType::NoRoot),
        drive("G:", DriveType::RamDisk),
        drive("H:", DriveType::Unknown),
        drive("I:", DriveType::Fixed, 0),
        drive("J:", DriveType::Fixed),
        drive("K:", DriveType::Fixed, 499),
        drive("L:", DriveType::Fixed, 500),  // rounded as the number format does
    };
    EXPECT_EQ(str(driveSectionText(survey)),
              "Drives\r\n"
              "   Floppies............2\r\n"
              "   Disks...............3\r\n"
              "   Drive A:...........Floppy    \r\n"
              "   Drive B:...........Floppy    \r\n"
              "   Drive C:...........Fixed     10,737,418 KB Free\r\n"
              "   Drive D:...........CD        \r\n"
              "   Drive E:...........Network   \r\n"
              "   Drive H:...........Unknown   \r\n"
              "   Drive I:...........Fixed      KB Free\r\n"
              "   Drive J:...........Fixed      KB Free\r\n"
              "   Drive K:...........Fixed      KB Free\r\n"
              "   Drive L:...........Fixed     1 KB Free\r\n");
    // Only the first two roots can be floppies; B:\ counts in second place.
    survey.roots = QStringList{"C:\\", "B:\\", "a:\\"};
    EXPECT_TRUE(
        driveSectionText(survey).contains(QLatin1String("Floppies............1\r\n   Disks...............2\r\n")));
}

TEST(SystemInfoFormat, VersionResourceLookup)
{
    VersionResource r;
    r.translation = QByteArray("\x09\x04\xB0\x04", 4);
    r.strings[QStringLiteral("\\StringFileInfo\\040904B0\\ProductName")] = QByteArray("Quorvane\0junk", 13);
    r.strings[QStringLiteral("\\StringFileInfo\\040904B0\\FileDescription")] = QByteArray(300, 'x');
    r.strings[QStringLiteral("\\StringFileInfo\\040704E4\\CompanyName")] = "other language";

    EXPECT_EQ(str(versionFieldText(r, kProductName)), "Quorvane");
    EXPECT_EQ(versionFieldText(r, kFileDescription), QString(255, QLatin1Char('x')));
    EXPECT_EQ(str(versionFieldText(r, kCompanyName)), "<Not Found>");
    EXPECT_EQ(str(versionFieldText(std::nullopt, kProductName)), "");
    r.translation.clear();
    EXPECT_EQ(str(versionFieldText(r, kProductName)), "<Not Found>");
    EXPECT_EQ(str(translationBlockName(QByteArray("\x07\x04\xE4\x04", 4))), "040704E4");
}

TEST(SystemInfoFormat, VideoValues)
{
    const auto display = [](int bits, int planes, int monitors) {
        return std::optional<DisplayInfo>(DisplayInfo{bits, planes, 1024, 768, monitors});
    };
    EXPECT_EQ(str(colourCountText(display(24, 1, 1))), "True Color");
    EXPECT_EQ(str(colourCountText(display(8, 3, 1))), "True Color");
    EXPECT_EQ(str(colourCountText(display(16, 1, 1))), "65,536");
    EXPECT_EQ(str(colourCountText(display(32, 1, 1))), "4,294,967,296");
    EXPECT_EQ(str(colourCountText(std::nullopt)), "");
    EXPECT_EQ(str(screenSizeText(std::nullopt)), "");
    EXPECT_EQ(str(monitorCountText(display(24, 1, 0))), "1");
    EXPECT_EQ(str(monitorCountText(display(24, 1, 3))), "3");
    EXPECT_EQ(str(monitorCountText(std::nullopt)), "1");
}

TEST(SystemInfoFormat, MemoryValues)
{
    const std::pair<std::uint64_t, const char*> available[] = {
        {0, "<none>"}, {512, "<none>"},  // half a kilobyte rounds to the even 0
        {513, "1K"},   {1536, "2K"},    {2560, "2K"}, {1024ULL * 1234567, "1,234,567K"},
    };
    for (const auto& [bytes, value] : available)
        EXPECT_EQ(str(availablePhysicalLine(bytes)), std::string("   Available Physical..") + value) << bytes;
    EXPECT_EQ(str(kilobytesText(2047)), "1K");
    EXPECT_EQ(str(kilobytesText(8ULL << 40)), "8,589,934,592K");
    EXPECT_EQ(str(percentFreeText(1, 3)), "33.33");
    try {
        percentFreeText(1, 0);
        FAIL() << "no error for a zero total";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::DivisionByZero);
    }
}

}  // namespace
}  // namespace vm::failsafe::sysinfo
