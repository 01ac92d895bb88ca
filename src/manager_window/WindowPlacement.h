#pragma once
// Where the operator left the window: its size, its position and whether it
// was maximised, kept per user in the user's own settings (never in the
// application folder, which belongs to the engine) and found again at the
// next start.

#include <QSettings>

#include <memory>

class QWidget;

namespace vm::manager_window {

// The user's settings of this program (~/.config/Quorvane/VoicemailManager.conf).
std::unique_ptr<QSettings> userSettings();

void savePlacement(const QWidget& window, QSettings& settings);

// Before the window is shown. A place no screen shows any more (a monitor
// taken away) is not restored: the window opens where the desktop puts it,
// at its design size.
void restorePlacement(QWidget& window, const QSettings& settings);

}  // namespace vm::manager_window
