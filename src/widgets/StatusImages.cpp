#include "StatusImages.h"

#include "ScreenPicture.h"

#include "platform/RuntimeError.h"

// Resources of a static library have to be registered by name, outside any namespace.
static void registerStatusArtwork() { Q_INIT_RESOURCE(widgets); }

namespace vm::widgets {

StatusImages::StatusImages()
{
    registerStatusArtwork();
    newMessage_ = screenPicture(QStringLiteral(":/widgets/status-new.png"));
    savedMessage_ = screenPicture(QStringLiteral(":/widgets/status-saved.png"));
}

const QPixmap& StatusImages::picture(int index) const
{
    switch (index) {
        case 0: return newMessage_;
        case 1: return savedMessage_;
        case 4: return none_;
        default:
            throw platform::RuntimeError(340, QStringLiteral("Control array element '%1' doesn't exist").arg(index));
    }
}

}  // namespace vm::widgets
