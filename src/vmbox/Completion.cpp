#include "Completion.h"

#include "MailboxFolder.h"

#include "mailbox/MessageListing.h"

namespace vm::vmbox {

void completeNames(const Invocation& inv, Streams& streams)
{
    QByteArray text;
    if (inv.arguments[0] == QLatin1String("boxes")) {
        MailboxFolder folder(MailboxFolder::Purpose::Reading);
        for (int i = 1; i <= folder.table().upperBound(); ++i)
            if (const QString& id = folder.table().at(i).Id; !id.isEmpty())
                text += id.toUtf8() + '\n';
    } else {
        // Names only, as their bytes: no header is read.
        const platform::FolderScan scan = mailbox::scanMessageFolder(QString());
        std::vector<QByteArray> names(scan.size());
        scan.read(0, 1, [&](std::size_t at, const platform::FolderEntry& e) { names[at] = e.name; });
        for (const QByteArray& name : names)
            if (!name.isEmpty() && !name.contains('\n'))
                text += name + '\n';
    }
    streams.out.write(text);
}

}  // namespace vm::vmbox
