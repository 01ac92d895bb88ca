#include "ScreenDisplayInfo.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace vm::platform {

std::optional<DisplayInfo> screenDisplayInfo()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return std::nullopt;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    // Device pixels, as the display adapter counts them.
    const qreal ratio = screen->devicePixelRatio();
    DisplayInfo info;
    info.bitsPerPixel = screen->depth();
    info.planes = 1;
    info.width = static_cast<int>(std::lround(screen->geometry().width() * ratio));
    info.height = static_cast<int>(std::lround(screen->geometry().height() * ratio));
    info.monitors = static_cast<int>(QGuiApplication::screens().size());
    return info;
}

}  // namespace vm::platform
