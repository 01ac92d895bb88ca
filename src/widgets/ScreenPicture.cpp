#include "ScreenPicture.h"

#include <QGuiApplication>

namespace vm::widgets {

QPixmap screenPicture(const QString& path)
{
    if (qGuiApp && qGuiApp->devicePixelRatio() > 1.0) {
        const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
        QPixmap sharp(path.left(dot) + QStringLiteral("@2x") + path.mid(dot));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2.0);
            return sharp;
        }
    }
    return QPixmap(path);
}

}  // namespace vm::widgets
