#include "ForwardCommand.h"

#include "CommandFailure.h"
#include "MailboxFolder.h"
#include "SafeText.h"

#include "config/Paths.h"
#include "config/Settings.h"
#include "mailbox/MessageForward.h"
#include "platform/RuntimeError.h"

#include <QFileInfo>

namespace vm::vmbox {

void forwardByEmail(const Invocation& inv, Streams& streams)
{
    const QString& file = inv.arguments[0];
    // A message named on the command line: a path, or a bare name in the folder.
    const QString path = file.contains(u'/') ? QFileInfo(file).absoluteFilePath() : config::messageFolder() + file;
    config::Settings settings;
    try {
        config::LoadConfig(settings, config::iniFile());
    } catch (const platform::RuntimeError& e) {
        // The settings are read in order: one that cannot be taken hides the later ones.
        const QString key = config::LoadConfigStopKey(config::iniFile());
        failData(fileFailure(config::iniFile(), e.number(),
                             key.isEmpty() ? e.description() : key + QStringLiteral(": ") + e.description()));
    }
    QString line;
    try {
        line = mailbox::forwardMessage(path, inv.arguments[1], mailbox::forwardSettingsOf(settings));
    } catch (const platform::RuntimeError& e) {
        failData(fileFailure(path, e.number(), e.description()));
    }
    streams.out.write((withControlsEscaped(line) + QLatin1Char('\n')).toUtf8());
}

}  // namespace vm::vmbox
