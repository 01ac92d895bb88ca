// The whole report: line order and labels from known figures, steps that
// fail, the hand-over to the error dialog, and a build on this machine.
#include "TraceFixture.h"

#include "failsafe/SystemInfo.h"

#include "platform/FileSystem.h"
#include "platform/LocaleText.h"
#include "platform/RuntimeError.h"

#include "support/Digest.h"

#include <QRegularExpression>

namespace vm::failsafe {
namespace {

using namespace vm::platform;
using namespace Qt::StringLiterals;

class FakeSystemQuery : public platform::SystemQuery {
public:
    QString name = QStringLiteral("PBX-01");
    bool failProcessorCount = false;
    std::optional<QStringList> modules = QStringList{QStringLiteral("/opt/qv/RiVaVaz"), QString(),
                                                     QStringLiteral("/usr/lib/libqv.so.1")};
    platform::MemoryStatus mem{42, 4096, 1536, 0, 0, 2048ULL * 1048576, 1000ULL * 1048576};

    QString computerName() const override { return name; }
    bool startedAsAutomationServer() const override { return false; }
    bool previousInstanceRunning() const override { return true; }
    std::optional<platform::OsVersion> osVersion() const override
    {
        return platform::OsVersion{2, 5, 0, 2195, "Service Pack 4"};
    }
    std::optional<bool> debugKernel() const override { return false; }
    QString languageName() const override { return QStringLiteral("English"); }
    std::optional<bool> mideastEnabled() const override { return false; }
    std::optional<bool> doubleByteCharsets() const override { return true; }
    QString windowsDirectory() const override { return QStringLiteral("C:\\WINNT"); }
    QString currentDirectory() const override { return QStringLiteral("C:\\QV"); }
    platform::MemoryStatus memory() const override { return mem; }
    std::optional<platform::ProcessorInfo> processor() const override
    {
        return platform::ProcessorInfo{586, 6, 0x0801};
    }
    std::optional<int> processorCount() const override
    {
        if (failProcessorCount)
            platform::raiseError(platform::err::InternalError);
        return 2;
    }
    // Every kind of drive; no root and RAM drives are left out of the report,
    // free space is shown in whole kilobytes.
    platform::DriveSurvey drives() const override
    {
        const auto drive = [](const char* letter, platform::DriveType type,
                              std::optional<std::uint64_t> free = std::nullopt) {
            return platform::Drive{QString::fromLatin1(letter), type, free};
        };
        return {{u"A:\\"_s, u"B:\\"_s, u"C:\\"_s},
                {drive("A:", platform::DriveType::Removable), drive("B:", platform::DriveType::Removable),
                 drive("C:", platform::DriveType::Fixed, 10737418240ULL), drive("D:", platform::DriveType::CdRom),
                 drive("E:", platform::DriveType::Remote), drive("F:", platform::DriveType::NoRoot),
                 drive("G:", platform::DriveType::RamDisk), drive("H:", platform::DriveType::Unknown),
                 drive("I:", platform::DriveType::Fixed, 0), drive("J:", platform::DriveType::Fixed),
                 drive("K:", platform::DriveType::Fixed, 499), drive("L:", platform::DriveType::Fixed, 500)}};
    }
    QString profileString(const QString& file, const QString& section, const QString& key, const QString& defaultValue,
                          int bufferSize) const override
    {
        EXPECT_EQ(bufferSize, 255);
        if (file.compare(QLatin1String("win.ini"), Qt::CaseInsensitive) == 0 && section == QLatin1String("ports") &&
            key == QLatin1String("com1:"))
            return QStringLiteral("9600,n,8,1,x");
        return defaultValue;
    }
    std::optional<platform::DisplayInfo> display() const override { return platform::DisplayInfo{16, 1, 1024, 768, 0}; }
    std::optional<bool> mousePresent() const override { return true; }
    std::optional<int> mouseButtons() const override { return 3; }
    std::optional<bool> mouseWheel() const override { return true; }
    std::optional<QStringList> processModules() const override { return modules; }
    std::optional<platform::VersionResource> versionResource(const QString& path) const override
    {
        if (!path.endsWith(QLatin1String(".so.1")))
            return std::nullopt;
        platform::VersionResource r;
        r.translation = QByteArray("\x09\x04\xB0\x04", 4);
        r.strings[QStringLiteral("\\StringFileInfo\\040904B0\\FileVersion")] = "2.1";
        return r;
    }
    std::optional<QDateTime> fileTime(const QString&, platform::FileTimeKind kind) const override
    {
        EXPECT_EQ(kind, platform::FileTimeKind::Creation);
        return QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5));
    }
};

QString programFileLines()
{
    const QString exe = platform::executablePath();
    QString size = QString::number(platform::fileSize(exe));
    for (qsizetype at = size.size() - 3; at > 0; at -= 3)
        size.insert(at, QLocale::system().groupSeparator());
    return u"  EXE Name............RiVaVaz\r\n  EXE Time Stamp......"_s +
           platform::generalDate(platform::lastWriteTime(exe)) + u"\r\n  EXE Size............"_s + size +
           u" bytes\r\n\r\n"_s;
}

class SystemInfoReport : public ::testing::Test {
protected:
    void SetUp() override { name_.emplace(platform::executableNameSource(), QStringLiteral("RiVaVaz")); }
    // The report without its program file lines, with the run's own folder,
    // version and file times written as <app>, <version> and <created>.
    std::string pinned() const
    {
        const platform::Version v = platform::programVersion();
        return buildSystemInfoReport(fake_, false)
            .replace(app_.path(), u"<app>"_s)
            .replace(u"%1.%2.%3"_s.arg(v.major).arg(v.minor).arg(v.revision), u"<version>"_s)
            .replace(platform::generalDate(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5))), u"<created>"_s)
            .toStdString();
    }
    test::TempAppFolder app_;
    FakeSystemQuery fake_;
    std::optional<platform::Replaceable<QString>::Scope> name_;
};

// Whole reports pinned by digest; the full text is printed when one changes.
TEST_F(SystemInfoReport, LinesInOrderWithTheirLabels)
{
    EXPECT_EQ(buildSystemInfoReport(fake_, true).toStdString(),
              buildSystemInfoReport(fake_, false)
                  .replace(u"Previous Instance...True\r\n"_s, u"Previous Instance...True\r\n"_s + programFileLines())
                  .toStdString());
    EXPECT_EQ(test::digest({QString::fromStdString(pinned())}), "b6892d6908d3e4c4") << pinned();
}

TEST_F(SystemInfoReport, LeftOutAndFailingPartsKeepTheRestInShape)
{
    fake_.modules = std::nullopt;
    EXPECT_TRUE(buildSystemInfoReport(fake_, true).endsWith(u"Other Components Running In Process\r\n\r\n\r\n"_s));
    fake_.modules = QStringList();
    EXPECT_TRUE(buildSystemInfoReport(fake_, true).endsWith(u"Other Components Running In Process\r\n\r\n"_s));

    fake_.name.clear();
    fake_.failProcessorCount = true;
    fake_.mem.totalPhysical = 0;  // the percentage divides by zero
    EXPECT_EQ(test::digest({QString::fromStdString(pinned())}), "638f7805a98cf8ca") << pinned();
}

TEST_F(SystemInfoReport, FsSystemInfoReplacesTheTextAndHandsItToTheDialog)
{
    test::StubDialog host;
    std::vector<bool> busy;
    const auto query = platform::systemQuerySource().replace(&fake_);
    const auto dialog = errorDialog().replace(&host);
    const auto busyCursor = busyCursorHook().replace([&](bool on) { busy.push_back(on); });
    QString report = u"old text that must go"_s;
    fsSystemInfo(report);
    EXPECT_EQ(report, buildSystemInfoReport(fake_, !state().devEnvironment));
    EXPECT_TRUE(report.startsWith(u"Application running on computer PBX-01\r\n"_s));
    EXPECT_EQ(host.reportsSet, 1);
    EXPECT_EQ(host.report, report);
    EXPECT_EQ(busy, (std::vector<bool>{true, false}));
}

// The labels of the lines before the module list (the text up to a line's
// run of dots, or the whole heading), without the drive lines, whose number
// depends on the machine.
QStringList labels(const QString& report)
{
    static const QRegularExpression label(QStringLiteral("^( +[^.]*\\.+).*"));
    QStringList lines = report.split(QStringLiteral("\r\n"));
    lines = lines.mid(1, lines.indexOf(QStringLiteral("Other Components Running In Process")));
    lines.removeIf([](const QString& l) { return l.startsWith(QLatin1String("   Drive ")); });
    return lines.replaceInStrings(label, QStringLiteral("\\1"));
}

TEST_F(SystemInfoReport, BuiltOnThisMachine)
{
    name_.reset();
    QString report;
    fsSystemInfo(report);

    EXPECT_TRUE(report.endsWith(u"\r\n\r\n"_s));
    EXPECT_EQ(report.count(u'\n') + report.count(u'\r'), 2 * report.count(u"\r\n"_s));
    // The same lines as the report from known figures.
    EXPECT_EQ(labels(report), labels(buildSystemInfoReport(fake_, true))) << report.toStdString();
    EXPECT_TRUE(report.contains(u"\r\n   Colors.......................\r\n"_s));  // no display here

    // Module lines: this executable first, each with its creation time.
    const QString modules = report.mid(report.indexOf(u"Other Components Running In Process\r\n"_s));
    EXPECT_TRUE(modules.contains(u"Process\r\n    "_s + platform::executablePath() + u"       FileVersion:  "_s));
    EXPECT_FALSE(modules.contains(u"Created: \r\n"_s));
}

}  // namespace
}  // namespace vm::failsafe
