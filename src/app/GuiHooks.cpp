#include "GuiHooks.h"

#include "failsafe/FailSafeHooks.h"
#include "failsafe/SystemInfo.h"
#include "failsafe/gui/FailSafeDialogHost.h"
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

void installGuiHooks()
{
    failsafe::gui::installFailSafeDialogHost();
    failsafe::setMessageBoxHook(&errorModuleBox);
    failsafe::setWindowsEnabledHook(&setTopLevelWindowsEnabled);
    failsafe::setBusyCursorHook(&busyPointer);
    sys::setDisplayInfoProvider(&sys::screenDisplayInfo);
}

void removeGuiHooks()
{
    sys::setDisplayInfoProvider({});
    failsafe::setBusyCursorHook({});
    failsafe::setWindowsEnabledHook({});
    failsafe::setMessageBoxHook({});
    failsafe::gui::removeFailSafeDialogHost();
}

}  // namespace vm::app
