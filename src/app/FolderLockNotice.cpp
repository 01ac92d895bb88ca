#include "FolderLockNotice.h"

#include "platform/AppFolder.h"
#include "platform/ShownText.h"

#include <QMessageBox>

#include <cstdio>

namespace vm::app {

std::unique_ptr<platform::FolderLock> lockAppFolderOrTellOperator(bool operatorPresent)
{
    auto lock = std::make_unique<platform::FolderLock>(platform::appFolder());
    if (lock->tryLock())
        return lock;
    const QString refusal = lock->refusal();
    std::fprintf(stderr, "RiVaVaz: %s\n", platform::withControlsEscaped(refusal).toUtf8().constData());
    if (operatorPresent)
        QMessageBox::warning(nullptr, QStringLiteral("Quorvane Voicemail Manager"), refusal);
    return nullptr;
}

}  // namespace vm::app
