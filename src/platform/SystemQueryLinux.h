#pragma once
// How the Linux implementation of the system queries reads its facts, as
// pure functions over the kernel's texts so that the mapping can be checked
// without the machine it describes.

#include "platform/SystemQuery.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace vm::platform {

// The kernel release ("6.1.0-18-amd64") as a version record of the unknown
// platform family: the first three numbers are major, minor and build; the
// text after them, without its leading separator, is the service-pack text.
// Missing numbers are 0.
OsVersion osVersionFromRelease(const QString& release);

// Processor record and count from /proc/cpuinfo. On x86 the record is what
// the classic system-info call reports there: family 3 type 386, family 4
// type 486, later families type 586; level = family; revision = model in the
// high byte, stepping in the low byte (model and stepping capped to a byte).
// Other architectures give no record (the report then shows "Unknown").
struct CpuSummary {
    std::optional<ProcessorInfo> processor;
    int count = 0;  // "processor" entries
};
CpuSummary parseCpuInfo(const QByteArray& text);

// One line of /proc/self/mounts, with the octal escapes of its fields undone.
struct MountEntry {
    QString source;
    QString mountPoint;
    QString fsType;
};
std::vector<MountEntry> parseMounts(const QByteArray& text);

// The drive type a mount reports as, or NoRoot for mounts that are not
// drives (kernel pseudo file systems, memory file systems, read-only images).
// Block devices are fixed drives, optical file systems CDs, network file
// systems remote drives.
DriveType driveTypeOfMount(const MountEntry& mount);

// The drives of a mount table, in its order: each mount point once, at its
// first mount that is a drive, and only where a folder is mounted (a file
// can be bound into place too); fixed drives with the bytes free there.
DriveSurvey surveyDrives(const std::vector<MountEntry>& mounts);

// The start time of a process (clock ticks since boot, field 22) from the
// text of /proc/<pid>/stat, whose command field may contain blanks and ")".
std::optional<unsigned long long> processStartTicks(const QByteArray& statText);

// Whether a /proc/bus/input/devices text lists a pointer device with a
// mouse handler.
bool inputDevicesHaveMouse(const QByteArray& text);

// `name` in `folder`, letter case ignored as on the platform the profile
// files come from; folder + "/" + name when no entry matches.
QString fileInFolderIgnoringCase(const QString& folder, const QString& name);

}  // namespace vm::platform
