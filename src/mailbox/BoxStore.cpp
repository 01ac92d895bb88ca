#include "BoxStore.h"

#include "VmbSort.h"

namespace vm::mailbox {

Stored storeBox(MailboxTable& table, const VoicemailBox& box, SortAfterAdding sort)
{
    const std::int16_t found = table.find(box.Id);
    if (found > 0) {
        table.update(found, [&](VoicemailBox& entry) {
            const std::int16_t seen = entry.SeenInFile;  // a merge mark is no field of the box
            entry = box;
            entry.SeenInFile = seen;
        });
        return Stored::Changed;
    }
    VoicemailBox added = box;
    added.SeenInFile = 0;
    const std::int16_t idx = table.append(std::move(added));
    if (sort == SortAfterAdding::Yes)
        sortById(table, 1, idx);
    return Stored::Added;
}

}  // namespace vm::mailbox
