// Voicemail statistics: new and saved messages of all boxes, their total
// playing time and the recording time the free disk space still holds.
#include "ManagerWindow.h"

#include "MessageFolder.h"
#include "WindowText.h"

#include "config/FreeDiskSpace.h"
#include "config/Paths.h"
#include "failsafe/Traced.h"
#include "mailbox/MessageFileName.h"
#include "platform/AppFolder.h"
#include "platform/FileSystem.h"
#include "platform/VbNumbers.h"

namespace vm::manager_window {

using failsafe::argumentList;
using failsafe::runTraced;
using failsafe::variantArg;

void ManagerWindow::GetMessageStats(std::int16_t& iMsgCountNew, std::int16_t& iMsgCountSaved,
                                    std::int32_t& lTotalTimeMins, std::int32_t& lAvailMin)
{
    runTraced(
        kModule, QStringLiteral("Function GetMessageStats"),
        [&] {
            return argumentList({variantArg(QStringLiteral("iMsgCountNew%"), iMsgCountNew),
                                 variantArg(QStringLiteral("iMsgCountSaved%"), iMsgCountSaved),
                                 variantArg(QStringLiteral("lTotalTimeMins&"), lTotalTimeMins),
                                 variantArg(QStringLiteral("lAvailMin&"), lAvailMin)});
        },
        [&] {
            const QString folder = config::messageFolder();
            iMsgCountNew = 0;
            iMsgCountSaved = 0;
            lTotalTimeMins = 0;
            std::int32_t totalSeconds = 0;
            // Only totals are kept: each file counts as the pass meets it.
            forEachMessageFile(folder, QStringLiteral("*.wav"), [&](const platform::FolderEntry& file) {
                totalSeconds = platform::toInt32(static_cast<long long>(totalSeconds) +
                                                 playingSeconds(sizeInBytes(file, folder)));
                const bool isNew = plainAscii(file) ? mailbox::isNewMessageName(QLatin1StringView(file.name))
                                                    : mailbox::isNewMessageName(QStringView(fileName(file)));
                if (!isNew)
                    iMsgCountSaved = platform::toInt16(iMsgCountSaved + 1);
                else
                    iMsgCountNew = platform::toInt16(iMsgCountNew + 1);
            });
            lTotalTimeMins = platform::roundToInt32(totalSeconds / 60.0);
            // The volume holding the program; this platform names it by any
            // path on it rather than by a drive root.
            const auto freeBytes = config::GetFreeDiskSpace(platform::appFolder());
            lAvailMin = platform::roundToInt32(static_cast<double>(freeBytes) / (kBytesPerSecond * 60.0));
        });
}

}  // namespace vm::manager_window
