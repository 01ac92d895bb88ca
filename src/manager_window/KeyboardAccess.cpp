// The window worked from the keyboard: Return on the mailbox list loads the
// box as a double-click does, Delete on either list runs that list's delete
// button, F1 the Help button, F5 lists the selected box's messages again as
// selecting it does, Ctrl+F finds messages, and typing a box number in the
// mailbox list selects that box. Each key goes through the handler the mouse would reach,
// so it is traced and asks its questions exactly as the mouse's command does.
#include "ManagerWindow.h"
#include "WindowControls.h"

#include "widgets/FlexGrid.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>

#include <functional>

namespace vm::manager_window {

namespace {

// Offers a widget's key presses to `take` before the widget sees them; a key
// it takes goes no further.
class KeyHook final : public QObject {
public:
    KeyHook(QWidget* widget, std::function<bool(int key)> take) : QObject(widget), take_(std::move(take))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        return take_(key->key());
    }

private:
    std::function<bool(int key)> take_;
};

}  // namespace

void ManagerWindow::setUpKeyboard()
{
    ui_->gridVmbList->setSearchColumn(0);
    new KeyHook(ui_->gridVmbList, [this](int key) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // As a double-click, which only a data row answers.
            if (ui_->gridVmbList->row() >= 1)
                gridVmbList_DblClick();
            return true;
        }
        if (key == Qt::Key_Delete) {
            ui_->cmdDeleteVmb->click();  // nothing while the button is off
            return true;
        }
        return false;
    });
    new KeyHook(ui_->gridMsgList, [this](int key) {
        if (key != Qt::Key_Delete)
            return false;
        ui_->cmdDeleteMsg->click();
        return true;
    });
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, ui_->cmdVmCfgHelp, &QPushButton::click);
    auto* relist = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(relist, &QShortcut::activated, this, [this] {
        if (!sSelectedVmbId.isEmpty() && ui_->gridVmbList->row() >= 1)
            gridVmbList_SelChange();
    });
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] { mnuMsgFind_Click(); });
}

}  // namespace vm::manager_window
