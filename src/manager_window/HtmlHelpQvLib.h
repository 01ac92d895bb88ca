#pragma once
// The help launcher: opens the product's help file (application folder +
// "qv.chm") with the desktop's handler for it. Fails silently: a missing file
// or a desktop without a handler shows and reports nothing.

#include "platform/Replaceable.h"

#include <QString>

class QWidget;

namespace vm::manager_window {

// Only the help window's name is meaningful on this platform's handler, which
// opens the file at its default topic; the number and the caller are kept
// for the callers' sake.
void HtmlHelpShow(int command, const QString& windowName, QWidget* caller);

// Hands the file to the desktop unless a test has replaced it; returns
// whether the file was handed over.
using HelpOpener = bool (*)(const QString& path);
platform::Replaceable<HelpOpener>& helpOpener();

}  // namespace vm::manager_window
