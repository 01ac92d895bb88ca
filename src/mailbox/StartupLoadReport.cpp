// The start-up load for a caller that goes on to save the table: the same
// load as VmbLoadArray, run-log texts and removals included, handing back
// what it could not take.

#include "FolderLoad.h"
#include "VmMgrStub.h"
#include "VmailLib.h"

namespace vm {

FolderLoad VmbLoadArrayWithReport()
{
    const LoadLog log{[](const QString& s) { LogRunInfo(0, s); }, [](const QString& s) { LogError(0, s); }};
    FolderLoad load = loadMailboxFolder(VmbArray(), log);
    applyDeletions(load.deletions);
    return load;
}

}  // namespace vm
