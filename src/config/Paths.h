#pragma once
// Where the shared files live: the application folder plus a fixed relative
// path. Every user forms its path at the moment of use.

#include <QString>

namespace vm::config {

QString iniFile();            // QV.INI
QString mailboxList();        // data/VmBoxList.xml
QString legacyMailboxList();  // data/VmBoxList.txt
QString greetingFolder();     // data/VmWelc/ (with trailing separator)
QString messageFolder();      // data/VmSave/ (with trailing separator)
QString emailBodyFile();      // VmEmailForwardBody.txt
QString helpFile();           // qv.chm
QString recordingTemplate();  // system/8pcm16m.wav
QString stopSound();          // system/VeryShort.wav

// The greeting of box `id`: greetingFolder() + id + ".wav".
QString greetingFile(const QString& id);

}  // namespace vm::config
