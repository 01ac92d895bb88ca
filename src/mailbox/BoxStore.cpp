#include "BoxStore.h"

#include "VmbSort.h"

namespace vm {

Stored storeBox(MailboxTable& table, const VoicemailBox& box, SortAfterAdding sort)
{
    std::int16_t idx = table.find(box.Id);
    const bool addition = idx < 1;
    if (addition)
        idx = table.append();
    table.update(idx, [&](VoicemailBox& entry) {
        const std::int16_t seen = entry.SeenInFile;  // a merge mark is no field of the box
        entry = box;
        entry.SeenInFile = seen;
    });
    if (!addition)
        return Stored::Changed;
    if (sort == SortAfterAdding::Yes)
        sortById(table, 1, idx);
    return Stored::Added;
}

}  // namespace vm
