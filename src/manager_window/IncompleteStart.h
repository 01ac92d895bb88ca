#pragma once
// What the window's start-up could not take: what the list files' load left
// out, and a load handler that stopped at an error (a QV.INI value it could
// not take, say). The close writes the list, the e-mail body and the
// settings as the window then holds them, which would lose what was left
// out; after such a start it first keeps the previous version of each file.

#include "mailbox/LoadProblem.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

namespace vm::manager_window {

// The last part of a kept previous version's name: why it was kept.
inline const QString kKeptReason = QStringLiteral("kept-after-incomplete-start");

struct IncompleteStart {
    std::vector<mailbox::LoadProblem> problems;  // from the list files' load
    bool loadEndedEarly = false;                 // the load handler stopped at an error
    QString configKey;                           // the QV.INI key the settings' load stopped at, when known

    bool any() const { return !problems.empty() || loadEndedEarly; }

    // The operator's notice, in plain words: what was not taken (text), what
    // the close will write and where the previous versions will be kept
    // (details). Files are named relative to the application folder.
    QString notice() const;
    QString noticeDetails() const;
};

// Keeps a copy of each of `files` that is there and may be written,
// named after it with the time `when` and kKeptReason. The first failure
// raises its run-time error.
void keepPreviousVersions(const QStringList& files, const QDateTime& when);

}  // namespace vm::manager_window
