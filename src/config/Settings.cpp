#include "Settings.h"

#include "Paths.h"
#include "RegistryIni.h"

#include "platform/AnsiText.h"
#include "platform/FileSystem.h"
#include "platform/NumberText.h"
#include "platform/RuntimeError.h"

namespace vm::config {

namespace {

const QString kPlayRecordConfig = QStringLiteral("PlayRecordConfig");
const QString kVoicemail = QStringLiteral("Voicemail");
const QString kDefaultRecEditor = QStringLiteral("SNDREC32.EXE ");
constexpr std::int16_t kDefaultRecLengthMin = 2;
constexpr std::int16_t kDefaultRecLengthMax = 300;

QString voicemailValue(const QString& iniFile, const char* key)
{
    return ReadIniString(iniFile, kVoicemail, QString::fromLatin1(key));
}

// A length limit: the default when the key is empty, else the value as a
// 16-bit number (errors 13 and 6 go to the caller).
std::int16_t recordingLength(const QString& iniFile, const char* key, std::int16_t defaultValue)
{
    const QString text = voicemailValue(iniFile, key);
    return text.isEmpty() ? defaultValue : platform::textToInt16(text);
}

// The body file holds the template's text followed by one CR LF. Errors are
// the caller's to ignore.
void takeBodyFromFile(QString& ForwardEmailBody)
{
    const QString path = config::emailBodyFile();
    if (!platform::fileExists(path))
        return;
    QString text = platform::decodeAnsi(platform::readFile(path));
    if (text.isEmpty())
        return;
    if (text.endsWith(QLatin1String("\r\n")))
        text.chop(2);
    ForwardEmailBody = text;
}

}  // namespace

void LoadConfig(Settings& settings, const QString& iniFile)
{
    settings = Settings{};
    Settings& s = settings;
    s.iniFile = iniFile;
    const auto value = [&](const char* key) { return voicemailValue(iniFile, key); };

    s.RecEditor = ReadIniString(iniFile, kPlayRecordConfig, QStringLiteral("RecEditor"));
    if (s.RecEditor.isEmpty())
        s.RecEditor = kDefaultRecEditor;

    s.RecLengthMin = recordingLength(iniFile, "RecLengthMin", kDefaultRecLengthMin);
    s.RecLengthMax = recordingLength(iniFile, "RecLengthMax", kDefaultRecLengthMax);

    s.ForwardEmailSubject = value("ForwardEmailSubject");
    s.ForwardEmailSmtpServer = value("ForwardEmailSmtpServer");
    s.ForwardEmailSmtpEmailAddress = value("ForwardEmailSmtpEmailAddress");
    s.ForwardEmailMechanism = value("ForwardEmailMechanism");
    s.ForwardEmailBody = value("ForwardEmailBody");

    // From here on a failing step is skipped and the next one runs.
    platform::ignoreErrors([&] { takeBodyFromFile(s.ForwardEmailBody); });
    platform::ignoreErrors([&] { s.FtpServer = value("FtpServer"); });
    platform::ignoreErrors([&] { s.FtpDir = value("FtpDir"); });
    platform::ignoreErrors([&] { s.FtpUser = value("FtpUser"); });
    platform::ignoreErrors([&] { s.FtpPassword = value("FtpPassword"); });
    platform::ignoreErrors([&] { s.RunCommandAfterRec = value("RunCommandAfterRec"); });
}

QString LoadConfigStopKey(const QString& iniFile)
{
    for (const char* key : {"RecLengthMin", "RecLengthMax"})
        if (!platform::ignoreErrors([&] { recordingLength(iniFile, key, 0); }))
            return QString::fromLatin1(key);
    return {};
}

}  // namespace vm::config
