#pragma once
// vmbox message forward FILE ADDRESS: the message by e-mail, as the window's
// "Forward by e-mail…" sends it, with the settings QV.INI holds.

#include "CommandLine.h"

namespace vm::vmbox {

// Sends the message and prints where it went. Raises MessageRefusal (the
// reason, the server's reply) or RuntimeError as the other commands do.
Handler forwardByEmail;

}  // namespace vm::vmbox
