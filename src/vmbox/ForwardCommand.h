#pragma once
// vmbox message forward FILE ADDRESS: the message by e-mail, as the window's
// "Forward by e-mail…" sends it, with the settings QV.INI holds.

#include "CommandLine.h"

#include <QIODevice>

namespace vm::vmbox {

// Sends the message and prints where it went. Raises MessageRefusal (the
// reason, the server's reply) or RuntimeError as the other commands do.
void forwardCommand(const Invocation& inv, QIODevice& out);

}  // namespace vm::vmbox
