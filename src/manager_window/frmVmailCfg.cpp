#include "frmVmailCfg.h"

#include "QtMessageBoxService.h"
#include "widgets/Twips.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

// Resources of a static library have to be registered by name, outside any namespace.
static void registerWindowArtwork() { Q_INIT_RESOURCE(manager_window); }

namespace vm::window {

Replaceable<MessageBoxService*>& messageBoxService()
{
    static Replaceable<MessageBoxService*> inForce(nullptr);
    return inForce;
}

frmVmailCfg::frmVmailCfg(QWidget* parent) : QWidget(parent), ownBoxes_(std::make_unique<QtMessageBoxService>(this))
{
    registerWindowArtwork();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        widgets::setLogicalDpi(screen->logicalDotsPerInch());
    setAttribute(Qt::WA_DeleteOnClose, false);
    buildControls();
    connectEvents();
}

frmVmailCfg::~frmVmailCfg() = default;

MessageBoxService& frmVmailCfg::messageBoxes()
{
    if (MessageBoxService* replaced = messageBoxService().get())
        return *replaced;
    return *ownBoxes_;
}

void frmVmailCfg::closeEvent(QCloseEvent* event)
{
    if (!unloaded_) {
        std::int16_t Cancel = 0;
        Form_Unload(Cancel);
        unloaded_ = true;
    }
    event->accept();
}

}  // namespace vm::window
