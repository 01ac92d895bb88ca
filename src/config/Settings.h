#pragma once
// The configuration the program reads from QV.INI at start-up, as one value
// with a field per INI key, named after it. The window holds it; the
// settings tabs write RecLengthMin and RecLengthMax back into it together
// with their keys, and the close writes the other keys from the fields.

#include <QString>

#include <cstdint>

namespace vm::config {

struct Settings {
    QString iniFile;  // the QV.INI read, where changes are written back

    // "PlayRecordConfig"
    QString RecEditor;  // the recorder command; "SNDREC32.EXE " when not set

    // "Voicemail"
    std::int16_t RecLengthMin = 0;  // seconds; 2 when not set
    std::int16_t RecLengthMax = 0;  // seconds; 300 when not set
    QString ForwardEmailSubject;
    QString ForwardEmailSmtpServer;
    QString ForwardEmailSmtpEmailAddress;
    QString ForwardEmailMechanism;      // "SMTP" (exactly) selects SMTP; anything else MAPI
    QString ForwardEmailBody;           // the body file's text when that file has any
    QString ForwardEmailSmtpLoginName;  // the SMTP login, none when empty
    QString ForwardEmailSmtpLoginPassword;
    QString FtpServer;
    QString FtpDir;
    QString FtpUser;
    QString FtpPassword;
    QString RunCommandAfterRec;
};

// Reads every key above from `iniFile`, in order, into `settings`, which
// starts over from empty values (strings "" and numbers 0). A RecLengthMin
// or RecLengthMax value that is not a whole number raises error 13, one
// outside -32768..32767 error 6: the read stops there, `settings` keeps what
// was read before and the later values stay empty, as the window then goes
// on with them. So does a QV.INI or body file that is there but cannot be
// read (an I/O error, no memory for it), raising its error with the file's
// name: a missing file is one without values, an unreadable one is not.
// Every other failure is silent.
void LoadConfig(Settings& settings, const QString& iniFile);

// The key at which LoadConfig stops: the first of RecLengthMin and
// RecLengthMax whose value it cannot take, read from `iniFile` as it is now.
// Empty when both values can be taken.
QString LoadConfigStopKey(const QString& iniFile);

}  // namespace vm::config
