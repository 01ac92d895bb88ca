#include "GuiServices.h"

#include "config/Paths.h"
#include "platform/ScreenDisplayInfo.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace vm::app {

namespace {

bool errorModuleBox(failsafe::BoxIcon icon, failsafe::BoxButtons buttons, const QString& title, const QString& text)
{
    QMessageBox box(icon == failsafe::BoxIcon::Critical ? QMessageBox::Critical : QMessageBox::Warning, title, text,
                    buttons == failsafe::BoxButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok,
                    QApplication::activeWindow());
    return box.exec() == QMessageBox::Ok;
}

void setTopLevelWindowsEnabled(bool enabled)
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            w->setEnabled(enabled);
    }
}

void busyPointer(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

}  // namespace

GuiServices::GuiServices()
    : dialog_(failsafe::errorDialog().replace(&dialogHost_)),
      messageBoxes_(failsafe::messageBoxHook().replace(&errorModuleBox)),
      windowsEnabled_(failsafe::windowsEnabledHook().replace(&setTopLevelWindowsEnabled)),
      busyCursor_(failsafe::busyCursorHook().replace(&busyPointer)),
      display_(platform::displayInfoProvider().replace(&platform::screenDisplayInfo)),
      sound_(platform::soundPlayer().replace(&soundPlayer_)),
      playback_(platform::playbackOutput().replace(&playbackOutput_))
{
    dialogHost_.setHelpFile(config::helpFile());
}

}  // namespace vm::app
