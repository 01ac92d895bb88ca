// The system information report, line by line. Every value comes from the
// system query layer; every step that fails is left out and the build goes
// on, so a report is always produced.
#include "SystemInfo.h"

#include "ErrorDialogHost.h"
#include "FailSafe.h"
#include "FailSafeState.h"
#include "SystemInfoFormat.h"

#include "platform/AppFolder.h"
#include "platform/FileSystem.h"
#include "platform/LocaleText.h"
#include "platform/RuntimeError.h"

#include <QCoreApplication>

#include <optional>

namespace vm::failsafe {

namespace {

void showBusy(bool busy)
{
    if (const BusyCursorHook& hook = busyCursorHook().get())
        platform::ignoreErrors([&] { hook(busy); });
}

// Appends the result of each step; a step that raises adds nothing.
class ReportWriter {
public:
    template <class Value>
    void line(Value&& value)
    {
        platform::ignoreErrors([&] { text_ += value() + kLineEnd; });
    }
    void fixedLine(const QString& literal) { text_ += literal + kLineEnd; }
    template <class Value>
    void block(Value&& value)
    {
        platform::ignoreErrors([&] { text_ += value(); });
    }
    QString take() { return std::move(text_); }

private:
    QString text_;
};

const platform::MemoryStatus& memoryOrRaise(const std::optional<platform::MemoryStatus>& memory)
{
    if (!memory)
        platform::raiseError(platform::err::InternalError);
    return *memory;
}

QString countText(const std::optional<int>& count) { return count ? QString::number(*count) : QString(); }

QString moduleListText(const platform::SystemQuery& query, std::int16_t indent)
{
    const std::optional<QStringList> modules = query.processModules();
    if (!modules)
        return kLineEnd;
    QString text;
    for (const QString& path : *modules) {
        if (path.isEmpty())
            continue;
        platform::ignoreErrors([&] {
            const std::optional<platform::VersionResource> resource = query.versionResource(path);
            ModuleFields fields;
            fields.fileVersion = versionFieldText(resource, kFileVersion);
            fields.productVersion = versionFieldText(resource, kProductVersion);
            fields.productName = versionFieldText(resource, kProductName);
            fields.companyName = versionFieldText(resource, kCompanyName);
            fields.fileDescription = versionFieldText(resource, kFileDescription);
            fields.created = fileTimeText(query.fileTime(path, platform::FileTimeKind::Creation));
            text += moduleLine(indent, path, fields);
        });
    }
    return text;
}

void writeProgram(ReportWriter& w, const platform::SystemQuery& q, bool withProgramFile)
{
    w.line([&] { return reportHeading(q.computerName()); });
    w.line([&] { return QStringLiteral("   Title...............") + platform::executableName(); });
    w.line([&] { return QStringLiteral("   Path................") + platform::appFolder(); });
    w.line([&] {
        const platform::Version v = platform::programVersion();
        return QStringLiteral("   Project Version.....") + QString::number(v.major) + QLatin1Char('.') +
               QString::number(v.minor) + QLatin1Char('.') + QString::number(v.revision);
    });
    w.line([&] {
        return q.startedAsAutomationServer() ? QStringLiteral("   OLE Server..........YES")
                                             : QStringLiteral("   OLE Server..........NO");
    });
    w.line([&] {
        return QStringLiteral("   Previous Instance...") +
               (q.previousInstanceRunning() ? QStringLiteral("True") : QStringLiteral("False"));
    });
    if (!withProgramFile)
        return;
    w.line([&] { return QStringLiteral("  EXE Name............") + platform::executableName(); });
    w.line([&] {
        return QStringLiteral("  EXE Time Stamp......") +
               platform::generalDate(platform::lastWriteTime(platform::executablePath()));
    });
    w.line([&] {
        return QStringLiteral("  EXE Size............") +
               formatThousands(QString::number(platform::fileSize(platform::executablePath()))) +
               QStringLiteral(" bytes");
    });
    w.fixedLine(QString());
}

void writeOperatingSystem(ReportWriter& w, const platform::SystemQuery& q)
{
    w.fixedLine(QStringLiteral("Operating System"));
    w.line([&] { return QStringLiteral("   Windows Version......") + windowsVersionText(q.osVersion()); });
    w.line([&] { return QStringLiteral("   Debug Kernel........") + yesNo(q.debugKernel()); });
    w.line([&] { return QStringLiteral("   Language............") + q.languageName(); });
    w.line([&] { return QStringLiteral("   Mideast.............") + yesNo(q.mideastEnabled()); });
    w.line([&] { return QStringLiteral("   DCBS................") + yesNo(q.doubleByteCharsets()); });
    w.line([&] { return QStringLiteral("   Windows Directory...") + q.windowsDirectory(); });
    w.line([&] { return QStringLiteral("   Current Path........") + q.currentDirectory(); });
}

void writeMemory(ReportWriter& w, const platform::SystemQuery& q)
{
    w.fixedLine(QStringLiteral("Memory Information"));
    std::optional<platform::MemoryStatus> memory;
    platform::ignoreErrors([&] { memory = q.memory(); });
    w.line(
        [&] { return QStringLiteral("   Total Physical......") + kilobytesText(memoryOrRaise(memory).totalPhysical); });
    w.line([&] { return availablePhysicalLine(memoryOrRaise(memory).availPhysical); });
    w.line(
        [&] { return QStringLiteral("   Virtual Memory......") + kilobytesText(memoryOrRaise(memory).totalVirtual); });
    w.line(
        [&] { return QStringLiteral("   Available Virtual...") + kilobytesText(memoryOrRaise(memory).availVirtual); });
    w.line([&] {
        const platform::MemoryStatus& m = memoryOrRaise(memory);
        return QStringLiteral("   Pct Physical Free...") + percentFreeText(m.availPhysical, m.totalPhysical) +
               QLatin1Char('%');
    });
}

void writeProcessorAndDrives(ReportWriter& w, const platform::SystemQuery& q)
{
    w.fixedLine(QStringLiteral("Processor"));
    w.line([&] { return QStringLiteral("   CPU.................") + cpuNameText(q.processor()); });
    w.line([&] { return QStringLiteral("   Number of CPUs......") + countText(q.processorCount()); });
    w.block([&] { return driveSectionText(q.drives()); });
}

void writeProfileLines(ReportWriter& w, const platform::SystemQuery& q)
{
    const auto value = [&](const char* file, const char* section, const char* key) {
        return q.profileString(QLatin1String(file), QLatin1String(section), QLatin1String(key),
                               QStringLiteral("<Unknown>"), 255);
    };
    w.fixedLine(QStringLiteral("Printer"));
    w.line([&] { return QStringLiteral("   Driver..............") + value("win.ini", "windows", "device"); });
    w.fixedLine(QStringLiteral("Ports"));
    w.line([&] { return QStringLiteral("   Serial Driver.......") + value("system.ini", "boot", "comm.drv"); });
    w.line([&] { return QStringLiteral("   Com1................") + value("win.ini", "ports", "com1:"); });
    w.line([&] { return QStringLiteral("   Com2................") + value("win.ini", "ports", "com2:"); });
    w.line([&] { return QStringLiteral("   Com3................") + value("win.ini", "ports", "com3:"); });
    w.line([&] { return QStringLiteral("   Com4................") + value("win.ini", "ports", "com4:"); });
    w.fixedLine(QStringLiteral("Network"));
    w.line([&] { return QStringLiteral("   Driver..............") + value("System.ini", "boot", "network.drv"); });
    w.line([&] {
        return QStringLiteral("   Description.........") + value("System.ini", "boot.description", "network.drv");
    });
}

void writeVideoMouseKeyboard(ReportWriter& w, const platform::SystemQuery& q)
{
    const auto value = [&](const char* section, const char* key) {
        return q.profileString(QStringLiteral("System.ini"), QLatin1String(section), QLatin1String(key),
                               QStringLiteral("<Unknown>"), 255);
    };
    w.fixedLine(QStringLiteral("General Video Information"));
    w.line([&] { return QStringLiteral("   Colors.......................") + colourCountText(q.display()); });
    w.line([&] { return QStringLiteral("   Screen size..............") + screenSizeText(q.display()); });
    w.line([&] { return QStringLiteral("   Number of Monitors..") + monitorCountText(q.display()); });
    w.fixedLine(QStringLiteral("Mouse"));
    w.line([&] { return QStringLiteral("   Mouse Present.......") + yesNo(q.mousePresent()); });
    w.line([&] { return QStringLiteral("   Driver..............") + value("boot", "mouse.drv"); });
    w.line([&] { return QStringLiteral("   Description.........") + value("boot.description", "mouse.drv"); });
    w.line([&] { return QStringLiteral("   Mouse Buttons.......") + countText(q.mouseButtons()); });
    w.line([&] { return QStringLiteral("   Mouse Wheel.......") + yesNo(q.mouseWheel()); });
    w.fixedLine(QStringLiteral("Keyboard"));
    w.line([&] { return QStringLiteral("   Driver..............") + value("boot", "keyboard.drv"); });
    w.line([&] { return QStringLiteral("   Description.........") + value("boot.description", "keyboard.typ"); });
}

}  // namespace

QString buildSystemInfoReport(const platform::SystemQuery& query, bool withProgramFile)
{
    ReportWriter w;
    writeProgram(w, query, withProgramFile);
    writeOperatingSystem(w, query);
    writeMemory(w, query);
    writeProcessorAndDrives(w, query);
    writeProfileLines(w, query);
    writeVideoMouseKeyboard(w, query);
    w.fixedLine(QStringLiteral("Other Components Running In Process"));
    w.block([&] { return moduleListText(query, 2); });
    w.fixedLine(QString());
    return w.take();
}

QString pfWindowsVersion() { return windowsVersionText(platform::systemQuery().osVersion()); }

void pfDriveInfo(QString& report) { report += driveSectionText(platform::systemQuery().drives()); }

QString pfCpuName() { return cpuNameText(platform::systemQuery().processor()); }

QString pfModuleList(std::int16_t indent) { return moduleListText(platform::systemQuery(), indent); }

QString pfFileVersionInfo(const QString& path, int field)
{
    return versionFieldText(platform::systemQuery().versionResource(path), field);
}

QString pfFileTime(const QString& path, int kind)
{
    if (kind < 0 || kind > 2)
        return {};
    return fileTimeText(platform::systemQuery().fileTime(path, static_cast<platform::FileTimeKind>(kind)));
}

platform::Replaceable<BusyCursorHook>& busyCursorHook()
{
    static platform::Replaceable<BusyCursorHook> inForce;
    return inForce;
}

void fsSystemInfo(QString& report)
{
    showBusy(true);
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
    report.clear();
    report = buildSystemInfoReport(platform::systemQuery(), !state().devEnvironment);
    if (ErrorDialogHost* host = errorDialogHost())
        platform::ignoreErrors([&] { host->setSystemInfoText(report); });
    showBusy(false);
}

}  // namespace vm::failsafe
