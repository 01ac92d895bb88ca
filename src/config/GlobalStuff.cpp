#include "GlobalStuff.h"

#include "Paths.h"
#include "RegistryIni.h"

#include "platform/AnsiText.h"
#include "platform/FileSystem.h"
#include "platform/NumberText.h"
#include "platform/RuntimeError.h"

#include <limits>

namespace vm::config {

QString RecEditor;
std::int16_t RecLengthMin = 0;
std::int16_t RecLengthMax = 0;
QString ForwardEmailSubject;
QString ForwardEmailSmtpServer;
QString ForwardEmailSmtpEmailAddress;
QString ForwardEmailMechanism;
QString ForwardEmailBody;
QString FtpServer;
QString FtpDir;
QString FtpUser;
QString FtpPassword;
QString RunCommandAfterRec;

namespace {

const QString kPlayRecordConfig = QStringLiteral("PlayRecordConfig");
const QString kVoicemail = QStringLiteral("Voicemail");
const QString kDefaultRecEditor = QStringLiteral("SNDREC32.EXE ");
constexpr std::int16_t kDefaultRecLengthMin = 2;
constexpr std::int16_t kDefaultRecLengthMax = 300;

QString voicemailValue(const char* key) { return GetIniString(kVoicemail, QString::fromLatin1(key)); }

// A length limit: the default when the key is empty, else the value as a
// 16-bit number (errors 13 and 6 go to the caller).
std::int16_t recordingLength(const char* key, std::int16_t defaultValue)
{
    const QString text = voicemailValue(key);
    return text.isEmpty() ? defaultValue : number::textToInt16(text);
}

// The body file holds the template's text followed by one CR LF. Errors are
// the caller's to ignore.
void takeBodyFromFile()
{
    const QString path = paths::emailBodyFile();
    if (!fs::fileExists(path))
        return;
    QString text = ansi::decode(fs::readFile(path));
    if (text.isEmpty())
        return;
    if (text.endsWith(QLatin1String("\r\n")))
        text.chop(2);
    ForwardEmailBody = text;
}

}  // namespace

void ResetGlobals()
{
    for (QString* s :
         {&RecEditor, &ForwardEmailSubject, &ForwardEmailSmtpServer, &ForwardEmailSmtpEmailAddress,
          &ForwardEmailMechanism, &ForwardEmailBody, &FtpServer, &FtpDir, &FtpUser, &FtpPassword, &RunCommandAfterRec})
        s->clear();
    RecLengthMin = 0;
    RecLengthMax = 0;
}

void SetGlobalPaths() { SetIniFile(paths::iniFile()); }

void LoadConfig()
{
    ResetGlobals();
    SetGlobalPaths();

    RecEditor = GetIniString(kPlayRecordConfig, QStringLiteral("RecEditor"));
    if (RecEditor.isEmpty())
        RecEditor = kDefaultRecEditor;

    RecLengthMin = recordingLength("RecLengthMin", kDefaultRecLengthMin);
    RecLengthMax = recordingLength("RecLengthMax", kDefaultRecLengthMax);

    ForwardEmailSubject = voicemailValue("ForwardEmailSubject");
    ForwardEmailSmtpServer = voicemailValue("ForwardEmailSmtpServer");
    ForwardEmailSmtpEmailAddress = voicemailValue("ForwardEmailSmtpEmailAddress");
    ForwardEmailMechanism = voicemailValue("ForwardEmailMechanism");
    ForwardEmailBody = voicemailValue("ForwardEmailBody");

    // From here on a failing step is skipped and the next one runs.
    ignoreErrors(takeBodyFromFile);
    ignoreErrors([] { FtpServer = voicemailValue("FtpServer"); });
    ignoreErrors([] { FtpDir = voicemailValue("FtpDir"); });
    ignoreErrors([] { FtpUser = voicemailValue("FtpUser"); });
    ignoreErrors([] { FtpPassword = voicemailValue("FtpPassword"); });
    ignoreErrors([] { RunCommandAfterRec = voicemailValue("RunCommandAfterRec"); });
}

QString LoadConfigStopKey()
{
    SetGlobalPaths();
    for (const char* key : {"RecLengthMin", "RecLengthMax"})
        if (!ignoreErrors([key] { recordingLength(key, 0); }))
            return QString::fromLatin1(key);
    return {};
}

std::int64_t GetFreeDiskSpace(const QString& root)
{
    const std::uint64_t bytes = fs::freeBytesForCaller(root);
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    return static_cast<std::int64_t>(bytes > kMax ? kMax : bytes);
}

}  // namespace vm::config
