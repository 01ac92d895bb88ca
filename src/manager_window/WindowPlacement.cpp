#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vm::manager_window {

namespace {
const QString kPosition = QStringLiteral("Window/Position");
const QString kSize = QStringLiteral("Window/Size");
const QString kMaximized = QStringLiteral("Window/Maximized");
}  // namespace

std::unique_ptr<QSettings> userSettings()
{
    return std::make_unique<QSettings>(QStringLiteral("Quorvane"), QStringLiteral("VoicemailManager"));
}

void savePlacement(const QWidget& window, QSettings& settings)
{
    // A maximised window keeps the place it had before, to come back to.
    const QRect normal = window.isMaximized() ? window.normalGeometry() : window.geometry();
    settings.setValue(kPosition, window.isMaximized() ? normal.topLeft() : window.pos());
    settings.setValue(kSize, normal.size());
    settings.setValue(kMaximized, window.isMaximized());
    settings.sync();
}

void restorePlacement(QWidget& window, const QSettings& settings)
{
    const QPoint position = settings.value(kPosition).toPoint();
    const QSize size = settings.value(kSize).toSize();
    if (!settings.contains(kPosition) || !size.isValid())
        return;
    // The top edge's middle, where the operator takes the window to move it,
    // must lie on a screen that is still there.
    const QScreen* screen = QGuiApplication::screenAt(position + QPoint(size.width() / 2, 8));
    if (!screen)
        return;
    window.resize(size.boundedTo(screen->availableSize()).expandedTo(window.minimumSize()));
    window.move(position);
    if (settings.value(kMaximized).toBool())
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

}  // namespace vm::manager_window
