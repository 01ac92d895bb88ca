// The report's formatting rules, checked without any system behind them.
#include "failsafe/SystemInfoFormat.h"

#include "platform/RuntimeError.h"
#include "support/Digest.h"
#include "support/ErrorNumberOf.h"

#include <gtest/gtest.h>

namespace vm::failsafe {
namespace {

using namespace vm::platform;

std::string str(const QString& s) { return s.toStdString(); }

TEST(SystemInfoFormat, ThousandsAndHundredths)
{
    const std::pair<const char*, const char*> thousands[] = {
        {"0", ""},      {"999", "999"},
        {"0042", "42"}, {"-1234", "-1,234"},
        {"12.5", "13"}, {"999.5", "1,000"},
        {"0.4", ""},    {"12abc", "12abc"},
        {"", ""},       {"True Color", "True Color"},
    };
    for (const auto& [in, out] : thousands)
        EXPECT_EQ(str(formatThousands(QString::fromLatin1(in), QStringLiteral(","))), out) << in;
    EXPECT_EQ(str(formatThousands(QStringLiteral("1234567"), QStringLiteral("."))), "1.234.567");
    EXPECT_EQ(str(formatThousands(QStringLiteral("18446744073709551616"), QStringLiteral(","))),
              "18,446,744,073,709,551,616");

    const std::pair<double, const char*> hundredths[] = {
        {23.456, "23.46"}, {50, "50."},  {0.5, ".5"},   {0, "."},         {12.3, "12.3"},
        {99.999, "100."},  {0.004, "."}, {0.05, ".05"}, {-1.25, "-1.25"},
    };
    for (const auto& [in, out] : hundredths)
        EXPECT_EQ(str(formatHundredths(in, QStringLiteral("."))), out) << in;
    EXPECT_EQ(str(formatHundredths(23.456, QStringLiteral(","))), "23,46");
}

// Processor and version names for a grid of records, pinned as a whole; the
// rows are the quirks.
TEST(SystemInfoFormat, ProcessorAndVersionTables)
{
    QStringList cpus;
    for (std::uint32_t type : {386u, 486u, 586u, 4000u, 21064u, 8664u})
        for (std::uint16_t level = 0; level <= 16; ++level)
            for (int model = 0; model <= 0x1F; ++model)
                cpus << cpuNameText(
                    platform::ProcessorInfo{type, level, static_cast<std::uint16_t>(model << 8 | 0x0A)});
    EXPECT_EQ(test::digest(cpus), "f8b71836934834e6");
    QStringList versions;
    for (int platform = 0; platform <= 3; ++platform)
        for (std::uint32_t major = 3; major <= 6; ++major)
            for (std::uint32_t minor : {0u, 1u, 10u, 90u, 95u})
                versions << windowsVersionText(platform::OsVersion{platform, major, minor, 1381, "SP6"});
    EXPECT_EQ(test::digest(versions), "a0605d8eb0757711");

    EXPECT_EQ(str(cpuNameText(platform::ProcessorInfo{586, 6, 0x1A05})),
              "Intel Pentium Pro, Model 1A, Stepping 05");  // model read up to its first non-digit
    EXPECT_EQ(str(cpuNameText(std::nullopt)), "");
    EXPECT_EQ(str(windowsVersionText(platform::OsVersion{2, 4, 0, 1381, QByteArray("SP6\0****", 8)})),
              "Windows NT 4.0  (Build 1381) SP6");
    EXPECT_EQ(str(windowsVersionText(platform::OsVersion{3, 1, 2, -1, ""})),
              "Unknown Version of Microsoft Windows 1.2 (Build -1) ");
    EXPECT_EQ(str(windowsVersionText(std::nullopt)), "");
}

// (Every kind of drive is shown in the whole report's test.)
TEST(SystemInfoFormat, OnlyTheFirstTwoRootsCanBeFloppies)
{
    platform::DriveSurvey survey;
    survey.roots = QStringList{"C:\\", "B:\\", "a:\\"};
    EXPECT_EQ(str(driveSectionText(survey)), "Drives\r\n   Floppies............1\r\n   Disks...............2\r\n");
}

TEST(SystemInfoFormat, VersionResourceLookup)
{
    platform::VersionResource r;
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
        return std::optional<platform::DisplayInfo>(platform::DisplayInfo{bits, planes, 1024, 768, monitors});
    };
    EXPECT_EQ(str(colourCountText(display(24, 1, 1))), "True Color");
    EXPECT_EQ(str(colourCountText(display(8, 3, 1))), "True Color");
    EXPECT_EQ(str(colourCountText(display(32, 1, 1))), "4,294,967,296");
    EXPECT_EQ(str(colourCountText(std::nullopt)), "");
    EXPECT_EQ(str(screenSizeText(std::nullopt)), "");
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
    EXPECT_EQ(test::errorNumberOf([] { percentFreeText(1, 0); }), platform::err::DivisionByZero);
}

}  // namespace
}  // namespace vm::failsafe
