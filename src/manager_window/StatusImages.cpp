#include "StatusImages.h"

#include "platform/RuntimeError.h"

namespace vm::window {

StatusImages::StatusImages()
    : newMessage_(QStringLiteral(":/manager_window/status-new.png")),
      savedMessage_(QStringLiteral(":/manager_window/status-saved.png"))
{}

const QPixmap& StatusImages::picture(int index) const
{
    switch (index) {
        case 0: return newMessage_;
        case 1: return savedMessage_;
        case 4: return none_;
        default: throw RuntimeError(340, QStringLiteral("Control array element '%1' doesn't exist").arg(index));
    }
}

}  // namespace vm::window
