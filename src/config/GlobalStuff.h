#pragma once
// Module GlobalStuff: the configuration the program reads from QV.INI once at
// start-up, and the free-space query of the statistics.
//
// The values are program-wide variables, one per INI key and named after it,
// as the rest of the program uses them: `vm::config::RecLengthMin` and so on.
// They start empty (strings "" and numbers 0); LoadConfig fills them in the
// order of its reading. The settings tabs update RecLengthMin and
// RecLengthMax together with their keys; the others are not written back
// into the variables.

#include <QString>

#include <cstdint>

namespace vm::config {

// "PlayRecordConfig"
extern QString RecEditor;  // the recorder command; "SNDREC32.EXE " when not set

// "Voicemail"
extern std::int16_t RecLengthMin;  // seconds; 2 when not set
extern std::int16_t RecLengthMax;  // seconds; 300 when not set
extern QString ForwardEmailSubject;
extern QString ForwardEmailSmtpServer;
extern QString ForwardEmailSmtpEmailAddress;
extern QString ForwardEmailMechanism;  // "SMTP" (exactly) selects SMTP; anything else MAPI
extern QString ForwardEmailBody;       // the body file's text when that file has any
extern QString FtpServer;
extern QString FtpDir;
extern QString FtpUser;
extern QString FtpPassword;
extern QString RunCommandAfterRec;

// Sets every variable above back to its initial value.
void ResetGlobals();

// Points the INI access (RegistryIni) at the application folder's QV.INI.
void SetGlobalPaths();

// SetGlobalPaths, then reads every key above in order. A RecLengthMin or
// RecLengthMax value that is not a whole number raises error 13, one outside
// -32768..32767 error 6: the read stops there and the later values keep
// their empty initial values. Every other failure is silent. The variables
// are set back to their initial values first, so a second load (tests, a
// window opened again) starts from the same state as the first.
void LoadConfig();

// The key at which LoadConfig stops: the first of RecLengthMin and
// RecLengthMax whose value it cannot take, read from the INI file as it is
// now. Empty when both values can be taken.
QString LoadConfigStopKey();

// Bytes free for the calling user on the volume holding `root`; 0 when the
// query fails. On this platform give it any existing path on the volume (the
// application folder): a drive root such as "C:\" does not exist here.
std::int64_t GetFreeDiskSpace(const QString& root);

}  // namespace vm::config
