#include "Paths.h"

#include "platform/AppFolder.h"

#include <QDir>

namespace vm::paths {

QString iniFile() { return appPath(QStringLiteral("QV.INI")); }
QString mailboxList() { return appPath(QStringLiteral("data/VmBoxList.xml")); }
QString legacyMailboxList() { return appPath(QStringLiteral("data/VmBoxList.txt")); }
QString greetingFolder() { return appPath(QStringLiteral("data/VmWelc")) + QDir::separator(); }
QString messageFolder() { return appPath(QStringLiteral("data/VmSave")) + QDir::separator(); }
QString emailBodyFile() { return appPath(QStringLiteral("VmEmailForwardBody.txt")); }
QString helpFile() { return appPath(QStringLiteral("qv.chm")); }
QString recordingTemplate() { return appPath(QStringLiteral("system/8pcm16m.wav")); }
QString stopSound() { return appPath(QStringLiteral("system/VeryShort.wav")); }

QString greetingFile(const QString& id) { return greetingFolder() + id + QStringLiteral(".wav"); }

}  // namespace vm::paths
