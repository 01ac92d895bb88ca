#pragma once
// The texts and rules of the call stack: entry texts with their depth
// prefix, how an exit finds its frame, the warning about an unbalanced exit,
// and how the development host is recognised.
//
// A frame at depth 3 is stored as
//   " 3 : " + "\t\t" + "frmVmailCfg.frm : Sub cmdVmbAdd_Click : ()"

#include <QString>
#include <QStringView>

namespace vm::failsafe {

// Depth in decimal with one leading blank (" 3").
QString depthText(int depth);

// An exit matches the top frame when its entry contains module + " : " +
// procedure anywhere (case-sensitive).
bool entryMatches(QStringView entry, QStringView module, QStringView procedure);

// The message shown in the development environment for an exit without entry.
QString unbalancedExitWarning(const QString& module, const QString& procedure);

// True when the host executable (file name, any folder) is one of the
// development environments: VB.EXE, VB5.EXE, VB6.EXE, VB32.EXE, any letter case.
bool isDevelopmentHost(const QString& fileName);

}  // namespace vm::failsafe
