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
    // The file layer's descriptions often begin with the path already, or
    // with another file's (the target a copy could not write), which it
    // names by absolute path.
    const bool named = description.startsWith(path) || description.startsWith(QFileInfo(path).absoluteFilePath()) ||
                       description.startsWith(u'/');
    return (named ? description : path + QStringLiteral(": ") + description) +
           QStringLiteral(" (error %1)").arg(number);
}

MailboxFolder::MailboxFolder(Purpose purpose, std::chrono::milliseconds wait)
{
    if (purpose == Purpose::Changing) {
        lock_ = std::make_unique<platform::FolderLock>(platform::appFolder());
        if (!lock_->tryLock(wait))
            failData(lock_->refusal());
    }
    load_ = mailbox::loadMailboxFolder(table_);
    if (load_.complete())
        return;
    // A list shown without what it could not read misleads; a list saved
    // without it loses that for good.
    QStringList lines;
    for (const mailbox::LoadProblem& problem : load_.problems)
        lines << problem.describe();
    if (purpose == Purpose::Changing)
        lines << QStringLiteral("saving would lose what the load left out, so nothing was changed");
    throw CommandFailure(kExitBadData, lines);
}

void MailboxFolder::save()
{
    const QString path = config::mailboxList();
    try {
        mailbox::saveMailboxList(table_, path);
    } catch (const platform::RuntimeError& e) {
        failData(fileFailure(path, e.number(), e.description()));
    }
    // The legacy list goes only now that the list file holds its boxes.
    mailbox::applyDeletions(load_.deletions);
}

}  // namespace vm::vmbox
