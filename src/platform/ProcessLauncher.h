#pragma once
// Starting another program the way the recorder is started: as a separate,
// detached process that is not waited for and whose process id is not kept.
//
// A command line from a setting is split into words at blanks and tabs (runs
// count as one separator); the first word is the program, the others its
// arguments. No shell is involved and no quoting is recognised, so nothing
// inside a setting is ever interpreted. Words added by the program itself (a
// file path) are passed as they are, blanks and all. A program word
// containing "/" is a path (relative ones to the current folder); any other
// is looked up in the folders of PATH.
//
// Run-time errors raised when the program cannot be started:
//   5  the command line holds no word at all, or the program file exists and
//      is executable but the system refuses to run it (not a program);
//  53  no file of that name exists;
//  70  the file exists but is a folder or may not be executed.

#include "platform/Replaceable.h"

#include <QString>
#include <QStringList>

namespace vm::platform {

// The words of `commandLine`, empty words dropped.
QStringList splitCommandLine(const QString& commandLine);

// The file that running `program` would execute; raises 53 or 70 as above.
QString resolveProgram(const QString& program);

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Starts `words` (the program, then its arguments) detached; raises the
    // run-time errors listed above.
    virtual void startDetached(const QStringList& words) = 0;
};

// Starts real processes of the operating system.
class SystemProcessLauncher final : public ProcessLauncher {
public:
    void startDetached(const QStringList& words) override;
};

// The launcher in force: the system one unless replaced.
Replaceable<ProcessLauncher*>& processLauncher();

// Starts `words` on the launcher in force.
void startProgram(const QStringList& words);

}  // namespace vm::platform
