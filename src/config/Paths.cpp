#include "Paths.h"

#include "platform/AppFolder.h"

#include <QDir>

namespace vm::config {

QString iniFile() { return platform::appPath(QStringLiteral("QV.INI")); }
QString mailboxList() { return platform::appPath(QStringLiteral("data/VmBoxList.xml")); }
QString legacyMailboxList() { return platform::appPath(QStringLiteral("data/VmBoxList.txt")); }
QString greetingFolder() { return platform::appPath(QStringLiteral("data/VmWelc")) + QDir::separator(); }
QString messageFolder() { return platform::appPath(QStringLiteral("data/VmSave")) + QDir::separator(); }
QString emailBodyFile() { return platform::appPath(QStringLiteral("VmEmailForwardBody.txt")); }
QString helpFile() { return platform::appPath(QStringLiteral("qv.chm")); }
QString recordingTemplate() { return platform::appPath(QStringLiteral("system/8pcm16m.wav")); }
QString stopSound() { return platform::appPath(QStringLiteral("system/VeryShort.wav")); }

QString greetingFile(const QString& id) { return greetingFolder() + id + QStringLiteral(".wav"); }

}  // namespace vm::config
