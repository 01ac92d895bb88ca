#pragma once
// Everything the system information report asks of the operating system,
// behind one interface so that the report's formatting stays independent of
// the platform. Each query returns an empty value (empty text, nullopt) when
// the system call behind it fails; none of them raises.
//
// The figures keep the shapes of the classic Windows queries (version
// record, processor type/level/revision, drive types, version resources), so
// the same report can be produced from a Windows implementation of this
// interface; the Linux implementation maps its own data onto those shapes.

#include "platform/MemoryStatus.h"
#include "platform/Replaceable.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace vm::platform {

// The operating-system version record.
struct OsVersion {
    // Platform family: 1 the Windows 95 family, 2 the NT family, anything
    // else an unknown family (this platform reports kPlatformOther).
    static constexpr int kPlatform95 = 1;
    static constexpr int kPlatformNT = 2;
    static constexpr int kPlatformOther = 0;

    int platform = kPlatformOther;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::int32_t build = 0;  // the whole 32-bit build field, shown signed
    QByteArray servicePack;  // service-pack text; ends at its first zero byte
};

// Processor identification in the form of the classic system-info record.
struct ProcessorInfo {
    std::uint32_t type = 0;      // 386, 486, 586, 4000, 21064, ...
    std::uint16_t level = 0;     // family
    std::uint16_t revision = 0;  // model in the high byte, stepping in the low byte
};

enum class DriveType : int {
    Unknown = 0,  // cannot be determined
    NoRoot = 1,   // no such root
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6,
};

struct Drive {
    QString name;  // the drive as the report shows it ("C:", or a mount point)
    DriveType type = DriveType::Unknown;
    std::optional<std::uint64_t> freeBytes;  // bytes available to the caller
};

struct DriveSurvey {
    QStringList roots;          // the logical drive roots, in the system's order
    std::vector<Drive> drives;  // every drive asked about, in report order
};

// A parsed version resource: the first entry of its translation table (four
// bytes: language and code page, 16 bits each, low byte first) and its
// string values keyed by their full query path
// ("\StringFileInfo\040904B0\ProductName").
struct VersionResource {
    QByteArray translation;  // empty when the resource has no translation table
    std::map<QString, QByteArray> strings;
};

// What the running display reports; provided by the GUI, when there is one.
struct DisplayInfo {
    int bitsPerPixel = 0;
    int planes = 1;
    int width = 0;  // pixels
    int height = 0;
    int monitors = 0;
};
using DisplayInfoProvider = std::function<std::optional<DisplayInfo>()>;
// The GUI application puts its provider in force at start-up; without one
// (the empty default) there is no display.
Replaceable<DisplayInfoProvider>& displayInfoProvider();
std::optional<DisplayInfo> currentDisplayInfo();

enum class FileTimeKind : int {
    LastAccess = 0,
    Creation = 1,
    LastWrite = 2,
};

class SystemQuery {
public:
    virtual ~SystemQuery() = default;

    virtual QString computerName() const = 0;
    virtual bool startedAsAutomationServer() const = 0;
    // Whether another instance of this program was already running when
    // this one started.
    virtual bool previousInstanceRunning() const = 0;

    virtual std::optional<OsVersion> osVersion() const = 0;
    virtual std::optional<bool> debugKernel() const = 0;
    virtual QString languageName() const = 0;  // the language's native name
    virtual std::optional<bool> mideastEnabled() const = 0;
    virtual std::optional<bool> doubleByteCharsets() const = 0;
    virtual QString windowsDirectory() const = 0;
    virtual QString currentDirectory() const = 0;

    virtual MemoryStatus memory() const = 0;
    virtual std::optional<ProcessorInfo> processor() const = 0;
    virtual std::optional<int> processorCount() const = 0;
    virtual DriveSurvey drives() const = 0;

    // A value of the classic profile files ("win.ini", "system.ini") kept in
    // the Windows directory, read as GetPrivateProfileStringA does.
    virtual QString profileString(const QString& file, const QString& section, const QString& key,
                                  const QString& defaultValue, int bufferSize) const = 0;

    virtual std::optional<DisplayInfo> display() const = 0;
    virtual std::optional<bool> mousePresent() const = 0;
    virtual std::optional<int> mouseButtons() const = 0;
    virtual std::optional<bool> mouseWheel() const = 0;

    // Full paths of the modules loaded in this process, in load order, at
    // most 256. nullopt when the platform offers no module enumeration.
    virtual std::optional<QStringList> processModules() const = 0;
    // The version resource of a file; nullopt for a file without one.
    virtual std::optional<VersionResource> versionResource(const QString& path) const = 0;
    // A time stamp of a file (local time); nullopt when the file cannot be
    // opened for reading or its times cannot be read.
    virtual std::optional<QDateTime> fileTime(const QString& path, FileTimeKind kind) const = 0;
};

// The query of this platform, unless a test has put another in its place.
Replaceable<const SystemQuery*>& systemQuerySource();
const SystemQuery& systemQuery();

// The platform's own implementation, its profile files looked up in
// `windowsDirectory` (the platform's default when empty).
std::unique_ptr<SystemQuery> createPlatformSystemQuery(const QString& windowsDirectory = {});

}  // namespace vm::platform
