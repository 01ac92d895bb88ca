#pragma once
// How the program's own procedures are traced and error-trapped: entry call,
// body, error block through fsERROR, exit call on every path.
//
//   runTraced(kModule, "Sub cmdPlayMsg_Click", [] { return QStringLiteral("()"); },
//             [&] { ...body... });
//
// The arguments callback is called at entry and again at exit, so the exit
// text shows the parameters' values of that moment.
//
// What the error handler's answer does:
//   1  run the body again (the failing part is tried anew), at most
//      kMaxRetries times, then leave through the exit path;
//   2  continue after the failing part: as the body is one unit, that is
//      the exit path;
//   5  debugger stop: outside the development environment the program ends
//      at once (see stopHook()); inside it the body runs again as for 1;
//   anything else, or none: leave through the exit path.
// Nothing thrown by the body, the argument texts or the handler leaves runTraced.

#include "ArgumentText.h"

#include <QString>

#include <functional>

namespace vm::failsafe {

inline constexpr int kMaxRetries = 10;

void runTraced(const QString& module, const QString& procedure, const std::function<QString()>& arguments,
               const std::function<void()>& body);

}  // namespace vm::failsafe
