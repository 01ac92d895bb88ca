#include "VmailLib.h"

namespace vm {

MailboxTable& VmbArray()
{
    static MailboxTable table;
    return table;
}

std::int16_t VmbFind(const QString& id) { return VmbArray().find(id); }

}  // namespace vm
