// The message list's context menu: play, listen, save a copy, copy to another
// box, forward by e-mail, mark new or saved, delete (MessageMenu.h), then find messages in the
// whole folder. Play and Delete are the buttons' own commands; the others
// are the shared message commands (MessageActions.h), run on every selected
// message where that makes sense, and the box is listed again at once so
// that the list shows what the folder now holds.
//
// The right button selects the row it presses on, as any button does; the
// menu key and Shift+F10 open the menu on the selection as it stands, so a
// range picked with Shift and the arrows acts together.
#include "ManagerWindow.h"
#include "WindowControls.h"

#include "FindMessages.h"
#include "MessageActions.h"
#include "MessageMenu.h"
#include "MessagePlayer.h"
#include "QtDialogService.h"
#include "widgets/FlexGrid.h"

#include "failsafe/Traced.h"
#include "mailbox/MessageOperations.h"
#include "platform/RuntimeError.h"

#include <QAction>
#include <QMenu>

#include <optional>

namespace vm::manager_window {

using failsafe::noArguments;
using failsafe::runTraced;

DialogService& ManagerWindow::dialogs()
{
    if (DialogService* replaced = dialogService().get())
        return *replaced;
    static QtDialogService onScreen;  // keeps no state
    return onScreen;
}

void ManagerWindow::buildMessageMenu()
{
    ui_->mnuMsgList = manager_window::buildMessageMenu(this, QStringLiteral("mnuMsg"), [this](MessageCommand c) {
        switch (c) {
            case MessageCommand::Play: return cmdPlayMsg_Click();
            case MessageCommand::Listen: return mnuMsgListen_Click();
            case MessageCommand::SaveCopy: return mnuMsgSaveCopy_Click();
            case MessageCommand::CopyToBox: return mnuMsgCopyToBox_Click();
            case MessageCommand::Forward: return mnuMsgForward_Click();
            case MessageCommand::MarkNew: return mnuMsgMarkNew_Click();
            case MessageCommand::MarkSaved: return mnuMsgMarkSaved_Click();
            case MessageCommand::Delete: return cmdDeleteMsg_Click();
        }
    });
    ui_->mnuMsgList->setObjectName(QStringLiteral("mnuMsgList"));
    ui_->mnuMsgList->addSeparator();
    QAction* find = ui_->mnuMsgList->addAction(QStringLiteral("&Find messages…"));
    find->setObjectName(QStringLiteral("mnuMsgFind"));
    find->setShortcut(QKeySequence::Find);
    connect(find, &QAction::triggered, this, [this] { mnuMsgFind_Click(); });

    widgets::FlexGrid* grid = ui_->gridMsgList;
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this,
            [this, grid](const QPoint& pos) { showMessageMenu(grid->viewport()->mapToGlobal(pos)); });
    // From the keyboard the menu opens below the current row.
    auto* fromKeys = new QAction(grid);
    fromKeys->setObjectName(QStringLiteral("mnuMsgListKey"));
    fromKeys->setShortcuts({QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)});
    fromKeys->setShortcutContext(Qt::WidgetShortcut);
    grid->addAction(fromKeys);
    connect(fromKeys, &QAction::triggered, this, [this, grid] {
        const int r = grid->row();
        const QRect cell = r >= 1 ? grid->visualRect(grid->model()->index(r - 1, 1)) : QRect();
        showMessageMenu(grid->viewport()->mapToGlobal(cell.bottomLeft()));
    });
}

void ManagerWindow::showMessageMenu(const QPoint& at)
{
    enableMessageMenu(*ui_->mnuMsgList, selectedMessageNames().size());
    ui_->mnuMsgList->popup(at);
}

// The messages of the selection, from its first row to its last.
QStringList ManagerWindow::selectedMessageNames() const
{
    QStringList names;
    for (const ListedMessage& m : messages_.messagesIn(ui_->gridMsgList->row(), ui_->gridMsgList->rowSel()))
        names << m.fileName;
    return names;
}

void ManagerWindow::relistMessages(const QStringList& select)
{
    gridVmbList_SelChange();
    platform::ignoreErrors([&] {
        const std::optional<RowSpan> rows = messages_.rowsOf(select);
        if (!rows)
            return;
        widgets::FlexGrid& grid = *ui_->gridMsgList;
        grid.setRow(rows->first);
        grid.setCol(0);
        grid.setRowSel(rows->last);
        grid.setColSel(kMsgListRestCol);
    });
}

void ManagerWindow::mnuMsgListen_Click()
{
    runTraced(kModule, QStringLiteral("Sub mnuMsgListen_Click"), noArguments, [this] {
        if (const ListedMessage* m = messages_.atRow(ui_->gridMsgList->row()))
            listen(*m);
    });
}

void ManagerWindow::listen(const ListedMessage& message)
{
    if (!player_)
        player_ = new MessagePlayer(this);
    player_->open(message);
    player_->show();
    player_->raise();
    player_->activateWindow();
}

void ManagerWindow::mnuMsgFind_Click()
{
    runTraced(kModule, QStringLiteral("Sub mnuMsgFind_Click"), noArguments, [this] {
        if (!findWindow_)
            findWindow_ = new FindMessages(*this);
        findWindow_->open();
    });
}

void ManagerWindow::mnuMsgSaveCopy_Click()
{
    runTraced(kModule, QStringLiteral("Sub mnuMsgSaveCopy_Click"), noArguments, [this] {
        const QStringList names = selectedMessageNames();
        if (names.size() == 1)
            saveCopyOfMessage(*this, this, names.front());
    });
}

void ManagerWindow::mnuMsgCopyToBox_Click()
{
    runTraced(kModule, QStringLiteral("Sub mnuMsgCopyToBox_Click"), noArguments, [this] {
        const QStringList names = selectedMessageNames();
        if (names.isEmpty())
            return;
        const std::optional<QString> id = askCopyTarget(this, names.size());
        if (!id)
            return;
        actOnMessages(
            *this, names,
            [&](const QString& path) {
                mailbox::copyMessage(boxes_, path, *id);
                return path;  // the originals stay selected
            },
            [this](const QStringList& select) { relistMessages(select); });
    });
}

void ManagerWindow::mnuMsgForward_Click()
{
    runTraced(kModule, QStringLiteral("Sub mnuMsgForward_Click"), noArguments, [this] {
        const QStringList names = selectedMessageNames();
        if (names.size() == 1)
            forwardMessageByEmail(*this, this, names.front());
    });
}

void ManagerWindow::mnuMsgMarkNew_Click()
{
    runTraced(kModule, QStringLiteral("Sub mnuMsgMarkNew_Click"), noArguments, [this] {
        actOnMessages(
            *this, selectedMessageNames(), [](const QString& path) { return mailbox::markMessage(path, true); },
            [this](const QStringList& select) { relistMessages(select); });
    });
}

void ManagerWindow::mnuMsgMarkSaved_Click()
{
    runTraced(kModule, QStringLiteral("Sub mnuMsgMarkSaved_Click"), noArguments, [this] {
        actOnMessages(
            *this, selectedMessageNames(), [](const QString& path) { return mailbox::markMessage(path, false); },
            [this](const QStringList& select) { relistMessages(select); });
    });
}

}  // namespace vm::manager_window
