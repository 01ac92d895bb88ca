#include "GuiHooks.h"

#include "failsafe/FailSafeHooks.h"
#include "failsafe/SystemInfo.h"
#include "failsafe/gui/FailSafeDialogHost.h"
#include "platform/SystemQuery.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

namespace vm::app {

namespace {

std::optional<sys::DisplayInfo> displayInfo()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    sys::DisplayInfo info;
    info.bitsPerPixel = screen->depth();
    info.planes = 1;
    info.width = screen->size().width();
    info.height = screen->size().height();
    info.monitors = static_cast<int>(QGuiApplication::screens().size());
    return info;
}

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
    sys::setDisplayInfoProvider(&displayInfo);
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
