// The report's formatting rules, checked without any system behind them.
#include "failsafe/SystemInfoFormat.h"

#include "platform/RuntimeError.h"

#include <gtest/gtest.h>

namespace vm::failsafe::sysinfo {
namespace {

using sys::DisplayInfo;
using sys::Drive;
using sys::DriveSurvey;
using sys::DriveType;
using sys::OsVersion;
using sys::ProcessorInfo;
using sys::VersionResource;

TEST(SystemInfoFormat, ThousandsFormat)
{
    struct Case {
        const char* in;
        const char* separator;
        const char* out;
    };
    const Case cases[] = {
        {"0", ",", ""},
        {"000", ",", ""},
        {"7", ",", "7"},
        {"999", ",", "999"},
        {"1000", ",", "1,000"},
        {"123456789", ",", "123,456,789"},
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
    for (const Case& c : cases)
        EXPECT_EQ(formatThousands(QString::fromLatin1(c.in), QString::fromLatin1(c.separator)), QString::fromLatin1(c.out))
            << c.in;
}

TEST(SystemInfoFormat, HundredthsFormat)
{
    struct Case {
        double in;
        const char* separator;
        const char* out;
    };
    const Case cases[] = {
        {23.456, ".", "23.46"}, {50, ".", "50."}, {0.5, ".", ".5"},  {0, ".", "."},
        {12.3, ".", "12.3"},    {99.999, ".", "100."}, {0.004, ".", "."}, {0.05, ".", ".05"},
        {23.456, ",", "23,46"}, {-1.25, ".", "-1.25"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatHundredths(c.in, QString::fromLatin1(c.separator)), QString::fromLatin1(c.out)) << c.in;
}

TEST(SystemInfoFormat, ProcessorTable)
{
    struct Case {
        std::uint32_t type;
        std::uint16_t level;
        std::uint16_t revision;
        const char* text;
    };
    const Case cases[] = {
        {386, 3, 0, "Intel 386"},
        {486, 4, 0x0803, "Intel 386"},
        {586, 5, 0x0204, "Pentium"},
        {586, 15, 0x0209, "Pentium"},
        {586, 6, 0x0102, "Intel Pentium Pro, Model 01, Stepping 02"},
        {586, 6, 0x1A05, "Intel Pentium Pro, Model 1A, Stepping 05"},
        {586, 6, 0x0303, "Intel Pentium II, Model 3 Stepping 03"},
        {586, 6, 0x0500, "Intel Pentium II Model 5, Pentium II Xeon Model 5, or Celeron Model 5, Stepping 00"},
        {586, 6, 0x060A, "Intel Celeron Model 6 Stepping, 0A"},
        {586, 6, 0x0701, "Intel Pentium III or Pentium III Xeon Model, 07 Stepping 01"},
        {586, 6, 0x0801, "Intel Pentium III or Pentium III Xeon Model, 08 Stepping 01"},
        {586, 6, 0x0A01, "Unable to determine processor type"},
        {586, 6, 0xCF02, "Unable to determine processor type"},
        {586, 6, 0x0201, "Unable to determine processor type"},
        {4000, 0, 0, "MIPS R4000"},
        {21064, 0, 0, "Alpha 21064"},
        {0, 6, 0x0801, "Unknown"},
        {8664, 6, 0x0801, "Unknown"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cpuNameText(ProcessorInfo{c.type, c.level, c.revision}), QString::fromLatin1(c.text))
            << c.type << " " << c.level << " " << std::hex << c.revision;
    EXPECT_EQ(cpuNameText(std::nullopt), QString());
}

TEST(SystemInfoFormat, WindowsVersionTable)
{
    struct Case {
        int platform;
        std::uint32_t major;
        std::uint32_t minor;
        std::int32_t build;
        QByteArray servicePack;
        const char* text;
    };
    const Case cases[] = {
        {2, 5, 0, 2195, "Service Pack 4", "Windows NT 5.0  (Build 2195) Service Pack 4"},
        {2, 4, 0, 1381, QByteArray("SP6\0****", 8), "Windows NT 4.0  (Build 1381) SP6"},
        {1, 4, 0, 950, QByteArray("\0****", 5), "Windows 95 4.0 (Build 950) "},
        {1, 3, 95, 1, "", "Windows 95 3.95 (Build 1) "},
        {1, 4, 10, 67766222, " A ", "Windows 98 4.10 (Build 67766222)  A "},
        {1, 4, 90, 3000, "", "Windows 98 4.90 (Build 3000) "},
        {1, 5, 0, 1, "", "Windows 98 5.0 (Build 1) "},
        {0, 6, 1, 0, "18-amd64", "Unknown Version of Microsoft Windows 6.1 (Build 0) 18-amd64"},
        {3, 1, 2, -1, "", "Unknown Version of Microsoft Windows 1.2 (Build -1) "},
    };
    for (const Case& c : cases) {
        OsVersion v;
        v.platform = c.platform;
        v.major = c.major;
        v.minor = c.minor;
        v.build = c.build;
        v.servicePack = c.servicePack;
        EXPECT_EQ(windowsVersionText(v), QString::fromLatin1(c.text));
    }
    EXPECT_EQ(windowsVersionText(std::nullopt), QString());
}

TEST(SystemInfoFormat, DriveSection)
{
    DriveSurvey survey;
    survey.roots = {QStringLiteral("A:\\"), QStringLiteral("B:\\"), QStringLiteral("C:\\"), QStringLiteral("D:\\"),
                    QStringLiteral("E:\\")};
    survey.drives = {
        {QStringLiteral("A:"), DriveType::Removable, std::nullopt},
        {QStringLiteral("B:"), DriveType::Removable, std::nullopt},
        {QStringLiteral("C:"), DriveType::Fixed, 10737418240ULL},
        {QStringLiteral("D:"), DriveType::CdRom, std::nullopt},
        {QStringLiteral("E:"), DriveType::Remote, std::nullopt},
        {QStringLiteral("F:"), DriveType::NoRoot, std::nullopt},
        {QStringLiteral("G:"), DriveType::RamDisk, std::nullopt},
        {QStringLiteral("H:"), DriveType::Unknown, std::nullopt},
        {QStringLiteral("I:"), DriveType::Fixed, 0ULL},
        {QStringLiteral("J:"), DriveType::Fixed, std::nullopt},
    };
    EXPECT_EQ(driveSectionText(survey), QStringLiteral("Drives\r\n"
                                                       "   Floppies............2\r\n"
                                                       "   Disks...............3\r\n"
                                                       "   Drive A:...........Floppy    \r\n"
                                                       "   Drive B:...........Floppy    \r\n"
                                                       "   Drive C:...........Fixed     10,737,418 KB Free\r\n"
                                                       "   Drive D:...........CD        \r\n"
                                                       "   Drive E:...........Network   \r\n"
                                                       "   Drive H:...........Unknown   \r\n"
                                                       "   Drive I:...........Fixed      KB Free\r\n"
                                                       "   Drive J:...........Fixed      KB Free\r\n"));
}

TEST(SystemInfoFormat, FloppyCountLooksAtTheFirstTwoRootsOnly)
{
    const auto counts = [](QStringList roots) {
        DriveSurvey s;
        s.roots = std::move(roots);
        return driveSectionText(s).split(QStringLiteral("\r\n")).mid(1, 2).join(QLatin1Char('|'));
    };
    EXPECT_EQ(counts({}), QStringLiteral("   Floppies............0|   Disks...............0"));
    EXPECT_EQ(counts({QStringLiteral("a:\\"), QStringLiteral("C:\\")}),
              QStringLiteral("   Floppies............1|   Disks...............1"));
    // The second root counts when it is B:\ even without an A:\ before it.
    EXPECT_EQ(counts({QStringLiteral("C:\\"), QStringLiteral("B:\\")}),
              QStringLiteral("   Floppies............1|   Disks...............1"));
    EXPECT_EQ(counts({QStringLiteral("/"), QStringLiteral("/home")}),
              QStringLiteral("   Floppies............0|   Disks...............2"));
}

TEST(SystemInfoFormat, FixedDriveFreeKilobytesRoundLikeTheNumberFormat)
{
    const auto freeText = [](std::uint64_t bytes) {
        return driveLine({QStringLiteral("/"), DriveType::Fixed, bytes});
    };
    EXPECT_EQ(freeText(499), QStringLiteral("   Drive /...........Fixed      KB Free"));
    EXPECT_EQ(freeText(500), QStringLiteral("   Drive /...........Fixed     1 KB Free"));
    EXPECT_EQ(freeText(1234567890123ULL), QStringLiteral("   Drive /...........Fixed     1,234,567,890 KB Free"));
}

TEST(SystemInfoFormat, VersionResourceLookup)
{
    VersionResource r;
    r.translation = QByteArray("\x09\x04\xB0\x04", 4);
    r.strings[QStringLiteral("\\StringFileInfo\\040904B0\\ProductName")] = QByteArray("Quorvane\0junk", 13);
    r.strings[QStringLiteral("\\StringFileInfo\\040904B0\\FileVersion")] = "1.2.3";
    r.strings[QStringLiteral("\\StringFileInfo\\040904B0\\FileDescription")] = QByteArray(300, 'x');
    r.strings[QStringLiteral("\\StringFileInfo\\040704E4\\CompanyName")] = "other language";

    EXPECT_EQ(versionFieldText(r, kProductName), QStringLiteral("Quorvane"));
    EXPECT_EQ(versionFieldText(r, kFileVersion), QStringLiteral("1.2.3"));
    EXPECT_EQ(versionFieldText(r, kFileDescription), QString(255, QLatin1Char('x')));
    EXPECT_EQ(versionFieldText(r, kCompanyName), QStringLiteral("<Not Found>"));
    EXPECT_EQ(versionFieldText(r, kProductVersion), QStringLiteral("<Not Found>"));

    VersionResource noTranslation = r;
    noTranslation.translation.clear();
    EXPECT_EQ(versionFieldText(noTranslation, kProductName), QStringLiteral("<Not Found>"));
    EXPECT_EQ(versionFieldText(std::nullopt, kProductName), QString());

    EXPECT_EQ(translationBlockName(QByteArray("\x09\x04\xB0\x04", 4)), QStringLiteral("040904B0"));
    EXPECT_EQ(translationBlockName(QByteArray("\x07\x04\xE4\x04", 4)), QStringLiteral("040704E4"));
}

TEST(SystemInfoFormat, VideoValues)
{
    const auto display = [](int bits, int planes, int monitors) {
        return std::optional<DisplayInfo>(DisplayInfo{bits, planes, 1024, 768, monitors});
    };
    EXPECT_EQ(colourCountText(display(24, 1, 1)), QStringLiteral("True Color"));
    EXPECT_EQ(colourCountText(display(8, 3, 1)), QStringLiteral("True Color"));
    EXPECT_EQ(colourCountText(display(16, 1, 1)), QStringLiteral("65,536"));
    EXPECT_EQ(colourCountText(display(32, 1, 1)), QStringLiteral("4,294,967,296"));
    EXPECT_EQ(colourCountText(display(8, 1, 1)), QStringLiteral("256"));
    EXPECT_EQ(colourCountText(std::nullopt), QString());

    EXPECT_EQ(screenSizeText(display(24, 1, 1)), QStringLiteral("1024 x 768"));
    EXPECT_EQ(screenSizeText(std::nullopt), QString());

    EXPECT_EQ(monitorCountText(display(24, 1, 0)), QStringLiteral("1"));
    EXPECT_EQ(monitorCountText(display(24, 1, -3)), QStringLiteral("1"));
    EXPECT_EQ(monitorCountText(display(24, 1, 3)), QStringLiteral("3"));
    EXPECT_EQ(monitorCountText(std::nullopt), QStringLiteral("1"));
}

TEST(SystemInfoFormat, MemoryValues)
{
    struct Case {
        std::uint64_t bytes;
        const char* line;
    };
    const Case available[] = {
        {0, "   Available Physical..<none>"},
        {511, "   Available Physical..<none>"},
        {512, "   Available Physical..<none>"},  // half a kilobyte rounds to the even 0
        {513, "   Available Physical..1K"},
        {1536, "   Available Physical..2K"},
        {2560, "   Available Physical..2K"},
        {1024ULL * 1234567, "   Available Physical..1,234,567K"},
    };
    for (const Case& c : available)
        EXPECT_EQ(availablePhysicalLine(c.bytes), QString::fromLatin1(c.line)) << c.bytes;

    EXPECT_EQ(kilobytesText(1023), QStringLiteral("K"));
    EXPECT_EQ(kilobytesText(2047), QStringLiteral("1K"));
    EXPECT_EQ(kilobytesText(8ULL << 40), QStringLiteral("8,589,934,592K"));

    EXPECT_EQ(percentFreeText(1, 4), QStringLiteral("25."));
    EXPECT_EQ(percentFreeText(1, 3), QStringLiteral("33.33"));
    EXPECT_EQ(percentFreeText(0, 4), QStringLiteral("."));
    try {
        percentFreeText(1, 0);
        FAIL() << "no error for a zero total";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::DivisionByZero);
    }
}

TEST(SystemInfoFormat, SmallTexts)
{
    EXPECT_EQ(reportHeading(QStringLiteral("PBX-01")), QStringLiteral("Application running on computer PBX-01"));
    EXPECT_EQ(reportHeading(QString()), QStringLiteral("Application"));
    EXPECT_EQ(yesNo(true), QStringLiteral("Yes"));
    EXPECT_EQ(yesNo(false), QStringLiteral("No"));
    EXPECT_EQ(yesNo(std::nullopt), QString());
    EXPECT_EQ(fileTimeText(std::nullopt), QString());
}

TEST(SystemInfoFormat, ModuleLine)
{
    ModuleFields f{QStringLiteral("5.1"), QStringLiteral("5.0"), QStringLiteral("Product"), QStringLiteral("Company"),
                   QStringLiteral("Description"), QStringLiteral("1/2/26 3:04:05 AM")};
    EXPECT_EQ(moduleLine(2, QStringLiteral("/usr/lib/libx.so.1"), f),
              QStringLiteral("    /usr/lib/libx.so.1       FileVersion: 5.1 ProductVersion: 5.0 ProductName: Product "
                             "CompanyName: Company FileDescription: Description  Created: 1/2/26 3:04:05 AM\r\n"));
    EXPECT_EQ(moduleLine(0, QStringLiteral("m"), {}).toStdString(),
              "  m       FileVersion:  ProductVersion:  ProductName:  CompanyName:  FileDescription:   Created: \r\n");
}

}  // namespace
}  // namespace vm::failsafe::sysinfo
