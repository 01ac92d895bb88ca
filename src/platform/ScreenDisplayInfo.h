#pragma once
// The display figures of the running GUI (primary screen and screen count),
// for the video lines of the system information report. The application
// puts it in force at start-up:
//   auto scope = vm::platform::displayInfoProvider().replace(&vm::platform::screenDisplayInfo);
// Needs a QGuiApplication; without one (or without a screen) there is no
// display.

#include "platform/SystemQuery.h"

#include <optional>

namespace vm::platform {

std::optional<DisplayInfo> screenDisplayInfo();

}  // namespace vm::platform
