#pragma once
// The command line of RiVaVaz:
//   RiVaVaz [--app-folder DIR]   run on DIR (default: the executable's folder)
//   RiVaVaz --help | --version
// Hidden, for demos and end-to-end tests: --screenshot FILE saves a picture
// of the window once it is shown, --close-after-load; both then close the
// window through its normal close path (so everything is saved as on Exit).

#include <QString>
#include <QStringList>

#include <optional>

namespace vm::app {

struct Options {
    QString appFolder;       // empty: the executable's folder
    QString screenshotFile;  // empty: none
    bool closeAfterLoad = false;
};

struct ParseResult {
    std::optional<Options> options;  // empty: exit with `exitCode` after printing `output`
    int exitCode = 0;
    QString output;  // for stdout (help, version) or stderr (errors)
};

ParseResult parseCommandLine(const QStringList& arguments);

}  // namespace vm::app
