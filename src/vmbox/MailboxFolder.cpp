#include "MailboxFolder.h"

#include "CommandFailure.h"

#include "config/Paths.h"
#include "mailbox/MailboxListFile.h"
#include "platform/AppFolder.h"
#include "platform/RuntimeError.h"

#include <QFileInfo>

namespace vm::vmbox {

QString fileFailure(const QString& path, int number, const QString& description)
{
    // The file layer's descriptions often begin with the path already.
    const bool named = description.startsWith(path) || description.startsWith(QFileInfo(path).absoluteFilePath());
    return (named ? description : path + QStringLiteral(": ") + description) +
           QStringLiteral(" (error %1)").arg(number);
}

MailboxFolder::MailboxFolder(Purpose purpose, std::chrono::milliseconds wait)
{
    if (purpose == Purpose::Changing) {
        lock_ = std::make_unique<FolderLock>(appFolder());
        if (!lock_->tryLock(wait))
            failData(lock_->refusal());
    }
    load_ = loadMailboxFolder(table_);
    if (!load_.unreadable.isEmpty())
        failData(load_.unreadable.front());
    if (load_.skippedLines > 0) {
        const QString lines = load_.skippedLines == 1
                                  ? QStringLiteral("line %1 cannot be read").arg(load_.firstSkippedLine)
                                  : QStringLiteral("%1 lines cannot be read, the first is line %2")
                                        .arg(load_.skippedLines)
                                        .arg(load_.firstSkippedLine);
        const QString what = paths::mailboxList() + QStringLiteral(": ") + lines;
        if (purpose == Purpose::Changing)
            failData(what + QStringLiteral(" (too long or malformed); saving would drop it, so nothing was changed"));
        warning_ = what + QStringLiteral(" (too long or malformed) and is left out");
    }
}

void MailboxFolder::save()
{
    const QString path = paths::mailboxList();
    try {
        saveMailboxList(table_, path);
    } catch (const RuntimeError& e) {
        failData(fileFailure(path, e.number(), e.description()));
    }
    // The legacy list goes only now that the list file holds its boxes.
    applyDeletions(load_.deletions);
}

}  // namespace vm::vmbox
