#include "HtmlHelpQvLib.h"

#include "config/Paths.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

#include <QDesktopServices>
#include <QUrl>

namespace vm::window {

namespace {
bool openWithDesktop(const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }
}  // namespace

Replaceable<HelpOpener>& helpOpener()
{
    static Replaceable<HelpOpener> inForce(&openWithDesktop);
    return inForce;
}

void HtmlHelpShow(int /*command*/, const QString& /*topic*/, QWidget* /*owner*/)
{
    ignoreErrors([] {
        const QString file = paths::helpFile();
        if (fs::fileExists(file))
            helpOpener().get()(file);
    });
}

}  // namespace vm::window
