#include "HtmlHelpQvLib.h"

#include "config/Paths.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

#include <QDesktopServices>
#include <QUrl>

namespace vm::manager_window {

namespace {
bool openWithDesktop(const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }
}  // namespace

platform::Replaceable<HelpOpener>& helpOpener()
{
    static platform::Replaceable<HelpOpener> inForce(&openWithDesktop);
    return inForce;
}

void HtmlHelpShow(int /*command*/, const QString& /*topic*/, QWidget* /*owner*/)
{
    platform::ignoreErrors([] {
        const QString file = config::helpFile();
        if (platform::fileExists(file))
            helpOpener().get()(file);
    });
}

}  // namespace vm::manager_window
