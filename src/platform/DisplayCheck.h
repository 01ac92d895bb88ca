#pragma once
// Whether a window can be opened at all, decided from the environment before
// the window system is touched: Qt ends the process when its platform cannot
// start, so a program run over a remote shell would abort instead of saying
// what is missing.

#include <QString>

#include <optional>

namespace vm::platform {

// Why no window can be opened ("no display (DISPLAY is not set)"), or nullopt.
// A platform chosen through QT_QPA_PLATFORM (offscreen, a VNC server...) is
// trusted as it is.
std::optional<QString> missingDisplay();

}  // namespace vm::platform
