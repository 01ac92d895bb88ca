#pragma once
// What an operator does with one message beyond playing and deleting it:
// copy it to another box, mark it new or saved, save a copy of it outside
// the folder. A message is only its file in data/VmSave/, and the engine
// reads the same names, so each operation keeps the name's form and never
// takes the place of another file.
//
// Each takes the message by its path and first checks it: a regular file
// itself (a link, folder, FIFO or device is refused, never followed or
// opened), directly in the message folder, and whole (its WAV sizes agree
// with its length, so a message the engine is still writing is left
// alone). A refusal raises MessageRefusal with one line naming the file and
// the reason, before anything changed; other failures of the file layer
// raise their run-time error. The caller holds the folder lock for the
// operations that change the folder (copy, mark).

#include "mailbox/MailboxTable.h"
#include "mailbox/MessageFileName.h"
#include "platform/FileContent.h"

#include <QDateTime>
#include <QString>

#include <cstdint>

namespace vm::mailbox {

// A message checked and held open: what is copied is the file that was
// checked, however its name changes meanwhile. Its content is read in
// pieces, never whole.
struct CheckedMessage {
    QString path;  // absolute
    QString name;
    platform::OpenFile file;
    std::int64_t size = 0;
    QDateTime time;      // its last-write time
    double seconds = 0;  // its playing time, from its header

    platform::FileContent content() const { return {file.fd(), path, size}; }
};

// The message at `path`, checked as above.
CheckedMessage checkedMessage(const QString& path);

// Copies the message to box `targetId`, which must be in `table`: the copy
// keeps the stamp, line and caller, takes the box's Id as the table holds it
// and the new-marker "1", and keeps the original's file time (the date the
// list shows). Where that name is taken, the copy takes the next free second
// of its stamp. Returns the copy's path.
QString copyMessage(const MailboxTable& table, const QString& path, const QString& targetId);

// Renames the message so that its new-marker is "1" (new) or "0" (saved),
// in one atomic step that never replaces another file; its file time stays.
// A message that is already so is left alone. Returns its path afterwards.
QString markMessage(const QString& path, bool asNew);

// Writes the message's bytes to `target` as a new file (never over an
// existing one, never through a link another account planted) with the
// message's file time.
void exportMessage(const QString& path, const QString& target);

}  // namespace vm::mailbox
