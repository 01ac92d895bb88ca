#pragma once
// vmbox stats: for each box with messages, how many are new and saved, how
// long they play, their oldest and newest date and the bytes they take; then
// the folder's totals and the space left on its file system.

#include "CommandLine.h"

#include <QString>

#include <cstdint>

namespace vm::vmbox {

Handler showStats;

// A size as a person reads it: "512 B", "1.5 KiB", "3.0 MiB", "2.2 GiB".
QString humanSize(std::int64_t bytes);

}  // namespace vm::vmbox
