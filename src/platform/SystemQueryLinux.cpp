// The system queries on Linux. The report's shapes come from another
// platform, so a few facts are mapped:
//  - the version record is that of an unknown platform family carrying the
//    kernel's release numbers;
//  - drives are the mounted disk file systems, named by their mount points;
//  - the profile files win.ini and system.ini are looked for in /etc (they
//    are normally absent, and their lines then show the default value);
//  - debug kernel, right-to-left scripts and double-byte character sets are
//    switches this platform does not have: always No;
//  - modules are the executable and the shared objects the dynamic loader
//    has loaded, in its load order; none carries a version resource;
//  - a file's creation time is its birth time where the file system records
//    one, else its status-change time.
#include "SystemQueryLinux.h"

#include "platform/AppFolder.h"
#include "platform/IniProfile.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSet>

#include <dirent.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace vm::platform {

namespace {

QByteArray fieldValue(const QByteArray& line)
{
    const qsizetype colon = line.indexOf(':');
    return colon < 0 ? QByteArray() : line.mid(colon + 1).trimmed();
}

QByteArray fieldKey(const QByteArray& line)
{
    const qsizetype colon = line.indexOf(':');
    return colon < 0 ? QByteArray() : line.left(colon).trimmed();
}

// Undoes the octal escapes (\040 blank, \011 tab, \012 newline, \134
// backslash) the kernel writes into mount table fields.
QString unescapeMountField(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            bool ok = digits.size() == 3;
            for (char c : digits)
                ok = ok && c >= '0' && c <= '7';
            if (ok) {
                out.append(static_cast<char>(digits.toInt(nullptr, 8)));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return QFile::decodeName(out);
}

std::uint16_t byteOf(long value) { return static_cast<std::uint16_t>(value < 0 ? 0 : (value > 255 ? 255 : value)); }

}  // namespace

OsVersion osVersionFromRelease(const QString& release)
{
    OsVersion v;
    v.platform = OsVersion::kPlatformOther;
    std::uint64_t numbers[3] = {0, 0, 0};
    qsizetype pos = 0;
    for (int n = 0; n < 3; ++n) {
        if (n > 0) {
            if (pos >= release.size() || release[pos] != QLatin1Char('.') || pos + 1 >= release.size() ||
                !release[pos + 1].isDigit())
                break;
            ++pos;
        }
        const qsizetype start = pos;
        while (pos < release.size() && release[pos].isDigit())
            ++pos;
        if (pos == start)
            break;
        numbers[n] = release.mid(start, pos - start).toULongLong();
    }
    v.major = static_cast<std::uint32_t>(numbers[0]);
    v.minor = static_cast<std::uint32_t>(numbers[1]);
    v.build = static_cast<std::int32_t>(static_cast<std::uint32_t>(numbers[2]));
    QString rest = release.mid(pos);
    if (!rest.isEmpty() && QStringLiteral("-.+_").contains(rest[0]))
        rest.remove(0, 1);
    v.servicePack = rest.toLatin1();
    return v;
}

CpuSummary parseCpuInfo(const QByteArray& text)
{
    CpuSummary s;
    bool firstBlockDone = false;
    QByteArray vendor;
    long family = -1;
    long model = 0;
    long stepping = 0;
    for (const QByteArray& line : text.split('\n')) {
        const QByteArray key = fieldKey(line);
        if (key == "processor") {
            if (s.count > 0)
                firstBlockDone = true;
            ++s.count;
            continue;
        }
        if (firstBlockDone)
            continue;
        const QByteArray value = fieldValue(line);
        if (key == "vendor_id")
            vendor = value;
        else if (key == "cpu family")
            family = value.toLong();
        else if (key == "model")
            model = value.toLong();
        else if (key == "stepping")
            stepping = value.toLong();  // "unknown" reads as 0
    }
    if (!vendor.isEmpty() && family >= 0) {
        ProcessorInfo p;
        p.type = family <= 3 ? 386 : (family == 4 ? 486 : 586);
        p.level = static_cast<std::uint16_t>(family > 0xFFFF ? 0xFFFF : family);
        p.revision = static_cast<std::uint16_t>(byteOf(model) << 8 | byteOf(stepping));
        s.processor = p;
    }
    return s;
}

std::vector<MountEntry> parseMounts(const QByteArray& text)
{
    std::vector<MountEntry> mounts;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 3)
            continue;
        mounts.push_back({unescapeMountField(fields[0]), unescapeMountField(fields[1]), unescapeMountField(fields[2])});
    }
    return mounts;
}

DriveType driveTypeOfMount(const MountEntry& mount)
{
    static const QSet<QString> remote = {
        QStringLiteral("nfs"),   QStringLiteral("nfs4"),       QStringLiteral("cifs"),  QStringLiteral("smb3"),
        QStringLiteral("smbfs"), QStringLiteral("fuse.sshfs"), QStringLiteral("sshfs"), QStringLiteral("9p"),
        QStringLiteral("ceph"),  QStringLiteral("glusterfs"),  QStringLiteral("afs"),   QStringLiteral("davfs"),
    };
    static const QSet<QString> optical = {QStringLiteral("iso9660"), QStringLiteral("udf")};
    static const QSet<QString> images = {QStringLiteral("squashfs"), QStringLiteral("erofs"), QStringLiteral("cramfs")};
    static const QSet<QString> diskFileSystems = {
        QStringLiteral("ext2"),  QStringLiteral("ext3"),     QStringLiteral("ext4"),     QStringLiteral("xfs"),
        QStringLiteral("btrfs"), QStringLiteral("zfs"),      QStringLiteral("f2fs"),     QStringLiteral("vfat"),
        QStringLiteral("exfat"), QStringLiteral("ntfs"),     QStringLiteral("ntfs3"),    QStringLiteral("fuseblk"),
        QStringLiteral("jfs"),   QStringLiteral("reiserfs"), QStringLiteral("bcachefs"),
    };
    if (remote.contains(mount.fsType))
        return DriveType::Remote;
    if (optical.contains(mount.fsType))
        return DriveType::CdRom;
    if (images.contains(mount.fsType))
        return DriveType::NoRoot;
    if (diskFileSystems.contains(mount.fsType) || mount.source.startsWith(QLatin1String("/dev/")))
        return DriveType::Fixed;
    // A container's root file system is its disk.
    if (mount.fsType == QLatin1String("overlay") && mount.mountPoint == QLatin1String("/"))
        return DriveType::Fixed;
    return DriveType::NoRoot;
}

DriveSurvey surveyDrives(const std::vector<MountEntry>& mounts)
{
    DriveSurvey survey;
    for (const MountEntry& m : mounts) {
        const DriveType type = driveTypeOfMount(m);
        if (type == DriveType::NoRoot || survey.roots.contains(m.mountPoint))
            continue;
        struct stat st {};
        if (::stat(QFile::encodeName(m.mountPoint).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
            continue;  // files bound into place are not drives
        Drive d{m.mountPoint, type, std::nullopt};
        struct statvfs sv {};
        if (type == DriveType::Fixed && ::statvfs(QFile::encodeName(m.mountPoint).constData(), &sv) == 0)
            d.freeBytes = static_cast<std::uint64_t>(sv.f_bavail) * sv.f_frsize;
        survey.roots.append(m.mountPoint);
        survey.drives.push_back(d);
    }
    return survey;
}

std::optional<unsigned long long> processStartTicks(const QByteArray& statText)
{
    const qsizetype close = statText.lastIndexOf(')');
    if (close < 0)
        return std::nullopt;
    const QList<QByteArray> fields = statText.mid(close + 1).simplified().split(' ');
    // fields[0] is field 3 (state), so field 22 is fields[19].
    if (fields.size() < 20)
        return std::nullopt;
    bool ok = false;
    const unsigned long long ticks = fields[19].toULongLong(&ok);
    return ok ? std::optional<unsigned long long>(ticks) : std::nullopt;
}

bool inputDevicesHaveMouse(const QByteArray& text)
{
    for (const QByteArray& line : text.split('\n')) {
        if (!line.startsWith("H: Handlers="))
            continue;
        for (const QByteArray& handler : line.mid(12).simplified().split(' '))
            if (handler.startsWith("mouse"))
                return true;
    }
    return false;
}

QString fileInFolderIgnoringCase(const QString& folder, const QString& name)
{
    QString exact = folder + QLatin1Char('/') + name;
    if (::access(QFile::encodeName(exact).constData(), F_OK) == 0)
        return exact;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return exact;
    QString found;
    while (const dirent* e = ::readdir(dir)) {
        const QString entry = QFile::decodeName(e->d_name);
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            found = folder + QLatin1Char('/') + entry;
            break;
        }
    }
    ::closedir(dir);
    return found.isEmpty() ? exact : found;
}

namespace {

QByteArray readWholeFile(const char* path)
{
    QByteArray bytes;
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return bytes;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        bytes.append(buffer, n);
    }
    ::close(fd);
    return bytes;
}

QByteArray ownExecutableLink()
{
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    return n > 0 ? QByteArray(buffer, n) : QByteArray();
}

// Another process running our executable that started before us (or in the
// same clock tick with a lower id). Processes of other users whose
// executable cannot be read are not counted.
bool findEarlierInstance()
{
    const QByteArray self = ownExecutableLink();
    const pid_t ownPid = ::getpid();
    const std::optional<unsigned long long> ownStart = processStartTicks(readWholeFile("/proc/self/stat"));
    if (self.isEmpty() || !ownStart)
        return false;
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return false;
    bool found = false;
    while (const dirent* e = ::readdir(proc)) {
        char* end = nullptr;
        const long pid = std::strtol(e->d_name, &end, 10);
        if (*end != '\0' || pid <= 0 || pid == ownPid)
            continue;
        const QByteArray base = QByteArray("/proc/") + e->d_name;
        char link[4096];
        const ssize_t n = ::readlink((base + "/exe").constData(), link, sizeof link);
        if (n <= 0 || QByteArray(link, n) != self)
            continue;
        const std::optional<unsigned long long> start = processStartTicks(readWholeFile((base + "/stat").constData()));
        if (start && (*start < *ownStart || (*start == *ownStart && pid < ownPid))) {
            found = true;
            break;
        }
    }
    ::closedir(proc);
    return found;
}

int collectModule(dl_phdr_info* info, size_t /*size*/, void* data)
{
    auto* names = static_cast<QStringList*>(data);
    if (names->size() >= 256)
        return 1;
    const char* name = info->dlpi_name;
    if (name == nullptr || name[0] == '\0') {
        // The main program appears first, without a name.
        if (names->isEmpty())
            names->append(executablePath());
        return 0;
    }
    if (name[0] != '/')
        return 0;  // the kernel's virtual shared object has no file
    const QString path = QFile::decodeName(name);
    if (!names->contains(path))
        names->append(path);
    return 0;
}

QDateTime fromTimestamp(const statx_timestamp& t)
{
    return QDateTime::fromMSecsSinceEpoch(t.tv_sec * 1000LL + t.tv_nsec / 1000000).toLocalTime();
}

class LinuxSystemQuery final : public SystemQuery {
public:
    explicit LinuxSystemQuery(QString windowsDirectory) : windowsDirectory_(std::move(windowsDirectory)) {}

    QString computerName() const override
    {
        char buffer[256] = {};
        if (::gethostname(buffer, sizeof buffer - 1) != 0)
            return {};
        return QString::fromLocal8Bit(buffer);
    }

    bool startedAsAutomationServer() const override { return false; }

    bool previousInstanceRunning() const override
    {
        static const bool earlier = findEarlierInstance();
        return earlier;
    }

    std::optional<OsVersion> osVersion() const override
    {
        utsname u{};
        if (::uname(&u) != 0)
            return std::nullopt;
        return osVersionFromRelease(QString::fromLatin1(u.release));
    }

    std::optional<bool> debugKernel() const override { return false; }
    QString languageName() const override { return QLocale::system().nativeLanguageName(); }
    std::optional<bool> mideastEnabled() const override { return false; }
    std::optional<bool> doubleByteCharsets() const override { return false; }
    QString windowsDirectory() const override { return windowsDirectory_; }
    QString currentDirectory() const override { return QDir::toNativeSeparators(QDir::currentPath()); }

    MemoryStatus memory() const override { return memoryStatus(); }

    std::optional<ProcessorInfo> processor() const override
    {
        return parseCpuInfo(readWholeFile("/proc/cpuinfo")).processor;
    }

    std::optional<int> processorCount() const override
    {
        const int count = parseCpuInfo(readWholeFile("/proc/cpuinfo")).count;
        if (count > 0)
            return count;
        const long configured = ::sysconf(_SC_NPROCESSORS_CONF);
        return configured > 0 ? std::optional<int>(static_cast<int>(configured)) : std::nullopt;
    }

    DriveSurvey drives() const override { return surveyDrives(parseMounts(readWholeFile("/proc/self/mounts"))); }

    QString profileString(const QString& file, const QString& section, const QString& key, const QString& defaultValue,
                          int bufferSize) const override
    {
        return platform::getPrivateProfileString(section, key, defaultValue, bufferSize,
                                                 fileInFolderIgnoringCase(windowsDirectory_, file));
    }

    std::optional<DisplayInfo> display() const override { return currentDisplayInfo(); }

    std::optional<bool> mousePresent() const override
    {
        return currentDisplayInfo().has_value() || inputDevicesHaveMouse(readWholeFile("/proc/bus/input/devices"));
    }

    std::optional<int> mouseButtons() const override
    {
        const std::optional<bool> present = mousePresent();
        return present && *present ? 3 : 0;
    }

    std::optional<bool> mouseWheel() const override { return mousePresent(); }

    std::optional<QStringList> processModules() const override
    {
        QStringList names;
        ::dl_iterate_phdr(collectModule, &names);
        return names;
    }

    std::optional<VersionResource> versionResource(const QString& /*file*/) const override { return std::nullopt; }

    std::optional<QDateTime> fileTime(const QString& path, FileTimeKind kind) const override
    {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            return std::nullopt;
        struct statx sx {};
        const int rc = ::statx(fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &sx);
        ::close(fd);
        if (rc != 0)
            return std::nullopt;
        switch (kind) {
            case FileTimeKind::LastAccess: return fromTimestamp(sx.stx_atime);
            case FileTimeKind::Creation: {
                // Some file systems (image layers among them) claim a birth time
                // but report it as zero.
                const bool hasBirth = (sx.stx_mask & STATX_BTIME) &&
                                      (sx.stx_btime.tv_sec != 0 || sx.stx_btime.tv_nsec != 0);
                return fromTimestamp(hasBirth ? sx.stx_btime : sx.stx_ctime);
            }
            case FileTimeKind::LastWrite: return fromTimestamp(sx.stx_mtime);
        }
        return std::nullopt;
    }

private:
    QString windowsDirectory_;
};

}  // namespace

std::unique_ptr<SystemQuery> createPlatformSystemQuery(const QString& windowsDirectory)
{
    return std::make_unique<LinuxSystemQuery>(windowsDirectory.isEmpty() ? QStringLiteral("/etc") : windowsDirectory);
}

}  // namespace vm::platform
