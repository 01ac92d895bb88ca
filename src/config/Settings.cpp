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

QString voicemailValue(const QByteArray& ini, const char* key)
{
    return IniValue(ini, kVoicemail, QString::fromLatin1(key));
}

// A length limit: the default when the key is empty, else the value as a
// 16-bit number (errors 13 and 6 go to the caller).
std::int16_t recordingLength(const QByteArray& ini, const char* key, std::int16_t defaultValue)
{
    const QString text = voicemailValue(ini, key);
    return text.isEmpty() ? defaultValue : platform::textToInt16(text);
}

// The body file holds the template's text followed by one CR LF. A missing
// file leaves the body as it is; one that cannot be read raises.
void takeBodyFromFile(QString& ForwardEmailBody)
{
    const std::optional<QByteArray> bytes = platform::readFileIfPresent(config::emailBodyFile());
    if (!bytes)
        return;
    QString text = platform::decodeAnsi(*bytes);
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
    // Read once: a file that is there but cannot be read stops the load here.
    const QByteArray ini = ReadIniFile(iniFile);
    const auto value = [&](const char* key) { return voicemailValue(ini, key); };

    s.RecEditor = IniValue(ini, kPlayRecordConfig, QStringLiteral("RecEditor"));
    if (s.RecEditor.isEmpty())
        s.RecEditor = kDefaultRecEditor;

    s.RecLengthMin = recordingLength(ini, "RecLengthMin", kDefaultRecLengthMin);
    s.RecLengthMax = recordingLength(ini, "RecLengthMax", kDefaultRecLengthMax);

    s.ForwardEmailSubject = value("ForwardEmailSubject");
    s.ForwardEmailSmtpServer = value("ForwardEmailSmtpServer");
    s.ForwardEmailSmtpEmailAddress = value("ForwardEmailSmtpEmailAddress");
    s.ForwardEmailMechanism = value("ForwardEmailMechanism");
    s.ForwardEmailBody = value("ForwardEmailBody");
    s.ForwardEmailSmtpLoginName = value("ForwardEmailSmtpLoginName");
    s.ForwardEmailSmtpLoginPassword = value("ForwardEmailSmtpLoginPassword");

    // The body is no value to pass over when its file cannot be read: the
    // close would write the field's text over it.
    takeBodyFromFile(s.ForwardEmailBody);
    // From here on a failing step is skipped and the next one runs.
    platform::ignoreErrors([&] { s.FtpServer = value("FtpServer"); });
    platform::ignoreErrors([&] { s.FtpDir = value("FtpDir"); });
    platform::ignoreErrors([&] { s.FtpUser = value("FtpUser"); });
    platform::ignoreErrors([&] { s.FtpPassword = value("FtpPassword"); });
    platform::ignoreErrors([&] { s.RunCommandAfterRec = value("RunCommandAfterRec"); });
}

QString LoadConfigStopKey(const QString& iniFile)
{
    QByteArray ini;
    platform::ignoreErrors([&] { ini = ReadIniFile(iniFile); });
    for (const char* key : {"RecLengthMin", "RecLengthMax"})
        if (!platform::ignoreErrors([&] { recordingLength(ini, key, 0); }))
            return QString::fromLatin1(key);
    return {};
}

}  // namespace vm::config
