// The start-up load on arbitrary VmBoxList.xml and VmBoxList.txt contents:
// whatever the files hold, the load ends, the table stays consistent (the
// index agrees with a plain scan) and writing it back never fails on content.
#include "FuzzSupport.h"

#include "config/Paths.h"
#include "mailbox/FolderLoad.h"
#include "mailbox/MailboxListFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vm;
    fuzz::fuzzFolder();
    // The first byte chooses the file: even → list file, odd → legacy list.
    const bool legacy = size > 0 && (data[0] & 1);
    QFile::remove(fuzz::fuzzFolder().path() + "/data/VmBoxList.xml");
    QFile::remove(fuzz::fuzzFolder().path() + "/data/VmBoxList.txt");
    fuzz::writeFuzzFile(legacy ? "data/VmBoxList.txt" : "data/VmBoxList.xml", data + (size > 0), size - (size > 0));
    mailbox::MailboxTable table;
    mailbox::VmbLoadArray(table);
    const int n = table.upperBound();
    for (int i = 1; i <= n; ++i) {
        const QString id = table.at(i).Id;
        int scan = -1;
        for (int k = 1; k <= n; ++k)
            if (table.at(k).Id.compare(id, Qt::CaseInsensitive) == 0) {
                scan = k;
                break;
            }
        if (mailbox::VmbFind(table, id) != scan)
            std::abort();
    }
    mailbox::saveMailboxList(table, config::mailboxList());
    return 0;
}
