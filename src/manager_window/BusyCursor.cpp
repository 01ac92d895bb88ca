#include "BusyCursor.h"

#include <QApplication>

namespace vm::manager_window {

BusyCursor::BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

BusyCursor::~BusyCursor() { QApplication::restoreOverrideCursor(); }

}  // namespace vm::manager_window
