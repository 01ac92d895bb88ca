#include "HtmlHelpQvLib.h"

#include "config/Paths.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

#include <QDesktopServices>
#include <QUrl>

namespace vm::window {

namespace {
bool openWithDesktop(const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

HelpOpener g_opener = &openWithDesktop;
}  // namespace

void setHelpOpener(HelpOpener opener) { g_opener = opener ? opener : &openWithDesktop; }

void HtmlHelpShow(int, const QString&, QWidget*)
{
    ignoreErrors([] {
        const QString file = paths::helpFile();
        if (fs::fileExists(file))
            g_opener(file);
    });
}

}  // namespace vm::window
