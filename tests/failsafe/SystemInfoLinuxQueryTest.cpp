// How the Linux system queries read the kernel's texts, and what the live
// queries give on this machine.
#include "platform/SystemQueryLinux.h"

#include "platform/AppFolder.h"

#include "support/TempAppFolder.h"

#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vm::sys::linux_query {
namespace {

TEST(SystemQueryLinux, KernelReleaseAsVersionRecord)
{
    struct Case {
        const char* release;
        std::uint32_t major;
        std::uint32_t minor;
        std::int32_t build;
        const char* rest;
    };
    const Case cases[] = {
        {"6.1.0-18-amd64", 6, 1, 0, "18-amd64"},
        {"6.18.44-fc-v1300", 6, 18, 44, "fc-v1300"},
        {"5.15", 5, 15, 0, ""},
        {"4.19.0", 4, 19, 0, ""},
        {"5.10.0+", 5, 10, 0, ""},
        {"6.8.rc1", 6, 8, 0, "rc1"},
        {"", 0, 0, 0, ""},
    };
    for (const Case& c : cases) {
        const OsVersion v = osVersionFromRelease(QString::fromLatin1(c.release));
        EXPECT_EQ(v.platform, OsVersion::kPlatformOther) << c.release;
        EXPECT_EQ(v.major, c.major) << c.release;
        EXPECT_EQ(v.minor, c.minor) << c.release;
        EXPECT_EQ(v.build, c.build) << c.release;
        EXPECT_EQ(v.servicePack, QByteArray(c.rest)) << c.release;
    }
}

QByteArray cpuBlock(int index, const char* vendor, int family, int model, const char* stepping)
{
    return QByteArray("processor\t: ") + QByteArray::number(index) + "\nvendor_id\t: " + vendor +
           "\ncpu family\t: " + QByteArray::number(family) + "\nmodel\t\t: " + QByteArray::number(model) +
           "\nmodel name\t: Some CPU\nstepping\t: " + stepping + "\nflags\t\t: fpu vme\n\n";
}

TEST(SystemQueryLinux, CpuInfoMapsToTheProcessorRecord)
{
    const CpuSummary intel = parseCpuInfo(cpuBlock(0, "GenuineIntel", 6, 207, "2") + cpuBlock(1, "GenuineIntel", 6, 1, "9"));
    ASSERT_TRUE(intel.processor);
    EXPECT_EQ(intel.count, 2);
    EXPECT_EQ(intel.processor->type, 586u);
    EXPECT_EQ(intel.processor->level, 6);
    EXPECT_EQ(intel.processor->revision, 0xCF02);  // the first processor's figures

    const CpuSummary amd = parseCpuInfo(cpuBlock(0, "AuthenticAMD", 25, 33, "0"));
    ASSERT_TRUE(amd.processor);
    EXPECT_EQ(amd.processor->type, 586u);
    EXPECT_EQ(amd.processor->level, 25);
    EXPECT_EQ(amd.processor->revision, 0x2100);

    const CpuSummary old = parseCpuInfo(cpuBlock(0, "GenuineIntel", 4, 8, "unknown"));
    ASSERT_TRUE(old.processor);
    EXPECT_EQ(old.processor->type, 486u);
    EXPECT_EQ(old.processor->revision, 0x0800);

    const CpuSummary arm = parseCpuInfo("processor\t: 0\nBogoMIPS\t: 50.00\nCPU implementer\t: 0x41\n\n"
                                        "processor\t: 1\nBogoMIPS\t: 50.00\n");
    EXPECT_FALSE(arm.processor);
    EXPECT_EQ(arm.count, 2);
}

TEST(SystemQueryLinux, MountsBecomeDrivesByFileSystem)
{
    const QByteArray mounts = "proc /proc proc rw 0 0\n"
                              "/dev/vda / ext4 rw 0 0\n"
                              "/dev/sdb1 /media/USB\\040Stick vfat rw 0 0\n"
                              "server:/export /mnt/nfs nfs4 rw 0 0\n"
                              "/dev/sr0 /media/cdrom iso9660 ro 0 0\n"
                              "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
                              "tmpfs /dev/shm tmpfs rw 0 0\n"
                              "tank/home /home zfs rw 0 0\n"
                              "overlay / overlay rw 0 0\n"
                              "overlay /var/lib/x overlay rw 0 0\n";
    const std::vector<MountEntry> parsed = parseMounts(mounts);
    ASSERT_EQ(parsed.size(), 10u);
    EXPECT_EQ(parsed[2].mountPoint, QStringLiteral("/media/USB Stick"));

    const DriveType expected[] = {DriveType::NoRoot, DriveType::Fixed,  DriveType::Fixed,  DriveType::Remote,
                                  DriveType::CdRom,  DriveType::NoRoot, DriveType::NoRoot, DriveType::Fixed,
                                  DriveType::Fixed,  DriveType::NoRoot};
    for (std::size_t i = 0; i < parsed.size(); ++i)
        EXPECT_EQ(driveTypeOfMount(parsed[i]), expected[i]) << parsed[i].mountPoint.toStdString();
}

TEST(SystemQueryLinux, ProcessStartTimeSurvivesOddCommandNames)
{
    QByteArray stat = "4321 (odd) name) S";
    for (int field = 4; field <= 21; ++field)
        stat += ' ' + QByteArray::number(field);
    EXPECT_EQ(processStartTicks(stat + " 987654 55 66\n"), 987654ULL);
    EXPECT_FALSE(processStartTicks(stat));
    EXPECT_FALSE(processStartTicks("garbage"));
}

TEST(SystemQueryLinux, MouseFromInputDevices)
{
    EXPECT_TRUE(inputDevicesHaveMouse("I: Bus=0003\nN: Name=\"USB Mouse\"\nH: Handlers=event3 mouse0 \n\n"));
    EXPECT_FALSE(inputDevicesHaveMouse("I: Bus=0011\nN: Name=\"AT Keyboard\"\nH: Handlers=sysrq kbd event0 \n"));
    EXPECT_FALSE(inputDevicesHaveMouse(""));
}

TEST(SystemQueryLinux, ProfileFilesAreFoundIgnoringCase)
{
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("SYSTEM.INI")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[boot]\r\nmouse.drv=mouse.drv\r\n[boot.description]\r\nkeyboard.typ=Enhanced 101 or 102 key\r\n");
    f.close();

    EXPECT_EQ(fileInFolderIgnoringCase(dir.path(), QStringLiteral("system.ini")), dir.filePath(QStringLiteral("SYSTEM.INI")));
    EXPECT_EQ(fileInFolderIgnoringCase(dir.path(), QStringLiteral("win.ini")), dir.path() + QStringLiteral("/win.ini"));

    const std::unique_ptr<SystemQuery> q = createPlatformSystemQuery(dir.path());
    EXPECT_EQ(q->windowsDirectory(), dir.path());
    EXPECT_EQ(q->profileString(QStringLiteral("System.ini"), QStringLiteral("boot.description"),
                               QStringLiteral("keyboard.typ"), QStringLiteral("<Unknown>"), 255),
              QStringLiteral("Enhanced 101 or 102 key"));
    EXPECT_EQ(q->profileString(QStringLiteral("system.ini"), QStringLiteral("boot"), QStringLiteral("comm.drv"),
                               QStringLiteral("<Unknown>"), 255),
              QStringLiteral("<Unknown>"));
    EXPECT_EQ(q->profileString(QStringLiteral("win.ini"), QStringLiteral("windows"), QStringLiteral("device"),
                               QStringLiteral("<Unknown>"), 255),
              QStringLiteral("<Unknown>"));
}

TEST(SystemQueryLinux, LiveModulesStartWithTheExecutable)
{
    const std::optional<QStringList> modules = createPlatformSystemQuery()->processModules();
    ASSERT_TRUE(modules);
    ASSERT_FALSE(modules->isEmpty());
    EXPECT_EQ(QFileInfo(modules->first()).canonicalFilePath(), QFileInfo(executablePath()).canonicalFilePath());
    EXPECT_LE(modules->size(), 256);
    EXPECT_EQ(modules->size(), QSet<QString>(modules->begin(), modules->end()).size());
    bool sawLibc = false;
    for (const QString& m : *modules) {
        EXPECT_TRUE(m.startsWith(QLatin1Char('/'))) << m.toStdString();
        sawLibc = sawLibc || QFileInfo(m).fileName().startsWith(QLatin1String("libc.so"));
    }
    EXPECT_TRUE(sawLibc);
}

TEST(SystemQueryLinux, LiveFileTimes)
{
    test::TempAppFolder app;
    app.write(QStringLiteral("probe.bin"), "x");
    const std::unique_ptr<SystemQuery> q = createPlatformSystemQuery();
    const QDateTime before = QDateTime::currentDateTime().addSecs(-60);
    for (FileTimeKind kind : {FileTimeKind::LastAccess, FileTimeKind::Creation, FileTimeKind::LastWrite}) {
        const std::optional<QDateTime> t = q->fileTime(app.file(QStringLiteral("probe.bin")), kind);
        ASSERT_TRUE(t);
        EXPECT_GE(*t, before);
    }
    EXPECT_FALSE(q->fileTime(app.file(QStringLiteral("missing.bin")), FileTimeKind::Creation));
}

TEST(SystemQueryLinux, LiveFiguresArePlausible)
{
    const std::unique_ptr<SystemQuery> q = createPlatformSystemQuery();
    ASSERT_TRUE(q->processorCount());
    EXPECT_GT(*q->processorCount(), 0);
    const MemoryStatus m = q->memory();
    EXPECT_GT(m.totalPhysical, 0u);
    EXPECT_LE(m.availPhysical, m.totalPhysical);
    ASSERT_TRUE(q->osVersion());
    EXPECT_GT(q->osVersion()->major, 0u);
    for (const Drive& d : q->drives().drives)
        EXPECT_TRUE(QFileInfo(d.name).isDir()) << d.name.toStdString();
    EXPECT_FALSE(q->previousInstanceRunning());
    EXPECT_FALSE(q->display());  // no display provider in a core test
}

}  // namespace
}  // namespace vm::sys::linux_query
