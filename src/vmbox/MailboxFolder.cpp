#include "MailboxFolder.h"

#include "CommandFailure.h"

#include "config/Paths.h"
#include "mailbox/MailboxListFile.h"
#include "platform/AppFolder.h"
#include "platform/RuntimeError.h"

namespace vm::vmbox {

QString fileFailure(const QString& path, int number, const QString& description)
{
    return QStringLiteral("%1: %2 (error %3)").arg(path, description).arg(number);
}

MailboxFolder::MailboxFolder(Purpose purpose, std::chrono::milliseconds wait)
{
    if (purpose == Purpose::Changing) {
        lock_ = std::make_unique<FolderLock>(appFolder());
        if (!lock_->tryLock(wait))
            failData(lock_->refusal());
    }
    load_ = loadMailboxFolder(table_);
    if (load_.complete())
        return;
    if (purpose == Purpose::Changing)
        failData(load_.problems.front().describe() + QStringLiteral("; saving would lose it, so nothing was changed"));
    QStringList lines;
    for (const LoadProblem& problem : load_.problems)
        lines << problem.describe() + QStringLiteral(" and is left out");
    warning_ = lines.join(QStringLiteral("\nvmbox: "));
}

void MailboxFolder::save(const QStringList& alsoRemove)
{
    const QString path = paths::mailboxList();
    try {
        saveMailboxList(table_, path);
    } catch (const RuntimeError& e) {
        failData(fileFailure(path, e.number(), e.description()));
    }
    // The legacy list goes only now that the list file holds its boxes.
    applyDeletions(load_.deletions + alsoRemove);
}

}  // namespace vm::vmbox
