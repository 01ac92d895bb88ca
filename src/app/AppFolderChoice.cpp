#include "AppFolderChoice.h"

#include "platform/AppFolder.h"

#include <QFileDialog>
#include <QSettings>

#include <cstdio>

namespace vm::app {

namespace {

QSettings rememberedChoices() { return QSettings(QStringLiteral("Quorvane"), QStringLiteral("VoicemailManager")); }
const QString kChosenFolderKey = QStringLiteral("applicationFolder");

QString askOperator()
{
    return QFileDialog::getExistingDirectory(
        nullptr, QStringLiteral("Quorvane Voicemail Manager: choose the application folder"), QDir::homePath());
}

}  // namespace

bool settleAppFolder(const Options& options, bool interactive)
{
    if (!options.appFolder.isEmpty()) {
        platform::setAppFolder(options.appFolder);
        return true;
    }
    if (platform::isApplicationFolder(platform::appFolder()))
        return true;
    QString chosen = rememberedChoices().value(kChosenFolderKey).toString();
    if (chosen.isEmpty() || !platform::isApplicationFolder(chosen)) {
        chosen = interactive ? askOperator() : QString();
        if (chosen.isEmpty()) {
            std::fprintf(stderr, "RiVaVaz: no application folder: name one with --app-folder DIR\n");
            return false;
        }
        rememberedChoices().setValue(kChosenFolderKey, chosen);
    }
    platform::setAppFolder(chosen);
    return true;
}

}  // namespace vm::app
