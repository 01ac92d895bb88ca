#pragma once
// The window's hold on its application folder, taken before anything in the
// folder is read.

#include "platform/FolderLock.h"

#include <memory>

namespace vm::app {

// Takes the application folder's lock for the window's whole run. When
// another manager holds it, the operator is told which program, process and
// host do (in a message box when `operatorPresent`, and always as one line
// on standard error) and null comes back: the caller then exits with status
// 1 without reading or writing any file.
std::unique_ptr<platform::FolderLock> lockAppFolderOrTellOperator(bool operatorPresent);

}  // namespace vm::app
