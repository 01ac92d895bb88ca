// How the Linux system queries read the kernel's texts, and what the live
// queries give on this machine.
#include "platform/SystemQueryLinux.h"

#include "support/TempAppFolder.h"

#include <QSysInfo>

#include <gtest/gtest.h>

namespace vm::platform {
namespace {

using namespace Qt::StringLiterals;

TEST(SystemQueryLinux, KernelReleaseAsVersionRecord)
{
    // release -> "major.minor.build|rest"
    const std::pair<const char*, const char*> cases[] = {
        {"6.1.0-18-amd64", "6.1.0|18-amd64"},
        {"6.18.44-fc-v1300", "6.18.44|fc-v1300"},
        {"5.15", "5.15.0|"},
        {"5.10.0+", "5.10.0|"},
        {"6.8.rc1", "6.8.0|rc1"},
        {"", "0.0.0|"},
    };
    for (const auto& [release, version] : cases) {
        const OsVersion v = osVersionFromRelease(QString::fromLatin1(release));
        EXPECT_EQ(v.platform, OsVersion::kPlatformOther) << release;
        EXPECT_EQ(QStringLiteral("%1.%2.%3|").arg(v.major).arg(v.minor).arg(v.build) + QLatin1String(v.servicePack),
                  QLatin1String(version));
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
    // "count type level revision"; the first processor's figures describe the machine
    const std::pair<QByteArray, const char*> cases[] = {
        {cpuBlock(0, "GenuineIntel", 6, 207, "2") + cpuBlock(1, "GenuineIntel", 6, 1, "9"), "2 586 6 cf02"},
        {cpuBlock(0, "AuthenticAMD", 25, 33, "0"), "1 586 25 2100"},
        {cpuBlock(0, "GenuineIntel", 4, 8, "unknown"), "1 486 4 800"},
        {cpuBlock(0, "GenuineIntel", 3, 0, "0"), "1 386 3 0"},
        {cpuBlock(0, "GenuineIntel", 6, 256, "300"), "1 586 6 ffff"},  // each part of the revision is one byte
    };
    for (const auto& [text, expected] : cases) {
        const CpuSummary s = parseCpuInfo(text);
        ASSERT_TRUE(s.processor);
        EXPECT_EQ(u"%1 %2 %3 %4"_s.arg(s.count)
                      .arg(s.processor->type)
                      .arg(s.processor->level)
                      .arg(s.processor->revision, 0, 16),
                  QLatin1String(expected));
    }
    const CpuSummary arm = parseCpuInfo("processor\t: 0\nCPU implementer\t: 0x41\n\nprocessor\t: 1\n");
    EXPECT_FALSE(arm.processor);
    EXPECT_EQ(arm.count, 2);
}

TEST(SystemQueryLinux, MountsBecomeDrivesByFileSystem)
{
    const QByteArray mounts =
        "proc /proc proc rw 0 0\n"
        "/dev/vda / ext4 rw 0 0\n"
        "/dev/sdb1 /media/USB\\040Stick\\011 vfat rw 0 0\n"
        "server:/export /mnt/nfs nfs4 rw 0 0\n"
        "/dev/sr0 /media/cdrom iso9660 ro 0 0\n"
        "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
        "tmpfs /dev/shm tmpfs rw 0 0\n"
        "tank/home /home zfs rw 0 0\n"
        "overlay / overlay rw 0 0\n"
        "overlay /var/lib/x overlay rw 0 0\n";
    const std::vector<MountEntry> parsed = parseMounts(mounts);
    ASSERT_EQ(parsed.size(), 10u);
    EXPECT_EQ(parsed[2].mountPoint, QStringLiteral("/media/USB Stick\t"));  // an escape may end the field

    const DriveType expected[] = {DriveType::NoRoot, DriveType::Fixed,  DriveType::Fixed,  DriveType::Remote,
                                  DriveType::CdRom,  DriveType::NoRoot, DriveType::NoRoot, DriveType::Fixed,
                                  DriveType::Fixed,  DriveType::NoRoot};
    for (std::size_t i = 0; i < parsed.size(); ++i)
        EXPECT_EQ(driveTypeOfMount(parsed[i]), expected[i]) << parsed[i].mountPoint.toStdString();
}

// A point mounted twice, a pseudo file system under a drive's point, a file bound into place.
TEST(SystemQueryLinux, EachFolderMountedIsOneDrive)
{
    test::TempAppFolder dir;
    dir.write(u"file"_s, "x");
    const auto mount = [&](const char* source, const char* point, const char* type) {
        return MountEntry{QString::fromLatin1(source), dir.file(QLatin1String(point)), QString::fromLatin1(type)};
    };
    const DriveSurvey survey = surveyDrives({mount("proc", "data", "proc"), mount("/dev/sda1", "data", "ext4"),
                                             mount("/dev/sda1", "data", "ext4"), mount("/dev/sdb1", "file", "ext4"),
                                             mount("srv:/x", "system", "nfs")});
    EXPECT_EQ(survey.roots, (QStringList{dir.file(u"data"_s), dir.file(u"system"_s)}));
    ASSERT_EQ(survey.drives.size(), 2u);
    EXPECT_TRUE(survey.drives[0].freeBytes > 0u && !survey.drives[1].freeBytes);  // free space of fixed drives only
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

TEST(SystemQueryLinux, ProfileFilesAreFoundIgnoringCase)
{
    test::TempAppFolder dir;
    dir.write(u"SYSTEM.INI"_s,
              "[boot]\r\nmouse.drv=mouse.drv\r\n[boot.description]\r\nkeyboard.typ=Enhanced 101 or 102 key\r\n");
    const std::unique_ptr<SystemQuery> q = createPlatformSystemQuery(dir.path());
    EXPECT_EQ(q->windowsDirectory(), dir.path());
    const auto read = [&](const char* file, const char* section, const char* key) {
        return q->profileString(QString::fromLatin1(file), QString::fromLatin1(section), QString::fromLatin1(key),
                                QStringLiteral("<Unknown>"), 255);
    };
    EXPECT_EQ(read("System.ini", "boot.description", "keyboard.typ"), QStringLiteral("Enhanced 101 or 102 key"));
    EXPECT_EQ(read("system.ini", "boot", "comm.drv"), QStringLiteral("<Unknown>"));
    EXPECT_EQ(read("win.ini", "windows", "device"), QStringLiteral("<Unknown>"));
}

TEST(SystemQueryLinux, LiveQueries)
{
    test::TempAppFolder app;
    app.write(QStringLiteral("probe.bin"), "x");
    const std::unique_ptr<SystemQuery> q = createPlatformSystemQuery();
    EXPECT_GE(q->fileTime(app.file(QStringLiteral("probe.bin")), FileTimeKind::Creation).value_or(QDateTime()),
              QDateTime::currentDateTime().addSecs(-60));
    EXPECT_FALSE(q->fileTime(app.file(QStringLiteral("missing.bin")), FileTimeKind::Creation));
    EXPECT_EQ(q->computerName(), QSysInfo::machineHostName());
    EXPECT_TRUE(q->drives().roots.contains(QStringLiteral("/"))) << "the root file system is a drive";
}

}  // namespace
}  // namespace vm::platform
