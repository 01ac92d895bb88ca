#pragma once
// The command line of RiVaVaz:
//   RiVaVaz [--app-folder DIR]   run on DIR (default: see AppFolderChoice.h)
//   RiVaVaz --help | --version
// beside the options every Qt program takes (-style, -platform, -reverse...),
// which are left to QApplication.
// Hidden, for demos and end-to-end tests: --screenshot FILE saves a picture
// of the window once it is shown, --close-after-load; both then close the
// window through its normal close path (so everything is saved as on Exit).
//
// Parsing needs no application object, so that help, version and usage
// errors are answered before any window-system connection is made.

#include <QString>
#include <QStringList>

#include <optional>

namespace vm::app {

inline constexpr int kExitBadUsage = 2;

struct Options {
    QString appFolder;       // empty: settled by settleAppFolder
    QString screenshotFile;  // empty: none
    bool closeAfterLoad = false;
    bool platformNamed = false;  // -platform given: the display is Qt's to find
};

struct ParseResult {
    std::optional<Options> options;  // empty: exit with `exitCode` after printing `output`
    int exitCode = 0;
    QString output;  // for stdout (help, version) or stderr (one line per error)
};

// `arguments` as main() receives them, the program's name first.
ParseResult parseCommandLine(const QStringList& arguments);

// main()'s argv as text.
QStringList argumentList(int argc, const char* const* argv);

}  // namespace vm::app
