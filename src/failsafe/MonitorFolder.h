#pragma once
// The folder where a trace monitor's socket lives. Trace lines carry what the
// program is working on (arguments, PINs among them), so they go only to a
// monitor of the same user: its socket is in a folder no other account can
// enter, never in the shared temporary folder.

#include <QString>

#include <optional>

namespace vm::failsafe {

enum class MakeFolder { No, Yes };

// $XDG_RUNTIME_DIR when it is set and is a real folder of the effective user
// with no permissions for group or others; otherwise "fsmonitor-<uid>" in
// the temporary folder, made with mode 0700 when `make` says so and missing.
// That folder, too, is used only when it is a real folder (not a link) of the
// effective user with no permissions for group or others; nothing otherwise.
std::optional<QString> monitorFolder(MakeFolder make);

}  // namespace vm::failsafe
