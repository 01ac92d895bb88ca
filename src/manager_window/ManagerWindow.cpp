#include "ManagerWindow.h"
#include "WindowControls.h"

#include "QtMessageBoxService.h"
#include "widgets/Twips.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

// Resources of a static library have to be registered by name, outside any namespace.
static void registerWindowArtwork() { Q_INIT_RESOURCE(manager_window); }

namespace vm::manager_window {

platform::Replaceable<MessageBoxService*>& messageBoxService()
{
    static platform::Replaceable<MessageBoxService*> inForce(nullptr);
    return inForce;
}

ManagerWindow::ManagerWindow(QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<WindowControls>()), ownBoxes_(std::make_unique<QtMessageBoxService>(this))
{
    registerWindowArtwork();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        widgets::setLogicalDpi(screen->logicalDotsPerInch());
    setAttribute(Qt::WA_DeleteOnClose, false);
    buildControls();
    connectEvents();
    setUpKeyboard();
    nameForScreenReaders();
    setUpResizing();
}

ManagerWindow::~ManagerWindow() = default;

MessageBoxService& ManagerWindow::messageBoxes()
{
    if (MessageBoxService* replaced = messageBoxService().get())
        return *replaced;
    return *ownBoxes_;
}

void ManagerWindow::closeEvent(QCloseEvent* event)
{
    // A close asked for while the unload handler waits on a box of its own
    // (a failed save's error report) comes too early: the first one goes on.
    if (unloading_) {
        event->ignore();
        return;
    }
    if (!unloaded_) {
        unloading_ = true;
        std::int16_t Cancel = 0;
        Form_Unload(Cancel);
        unloading_ = false;
        unloaded_ = true;
    }
    if (incompleteStartNotice_)
        incompleteStartNotice_->close();
    event->accept();
}

void ManagerWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // After the window is on screen, so the notice comes up in front of it.
    if (incompleteStart_.any() && !incompleteStartTold_) {
        incompleteStartTold_ = true;
        QTimer::singleShot(0, this, [this] { tellIncompleteStart(); });
    }
}

}  // namespace vm::manager_window
