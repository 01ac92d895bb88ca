// The message list's context menu: play, save a copy, copy to another box,
// mark new or saved, delete. Play and Delete are the buttons' own commands;
// the others are the mailbox store's message operations, run on every
// selected message where that makes sense, and the box is listed again at
// once so that the list shows what the folder now holds.
//
// The right button selects the row it presses on, as any button does; the
// menu key and Shift+F10 open the menu on the selection as it stands, so a
// range picked with Shift and the arrows acts together.
#include "ManagerWindow.h"
#include "WindowControls.h"

#include "MessageBoxService.h"
#include "QtDialogService.h"
#include "widgets/FlexGrid.h"

#include "config/Paths.h"
#include "failsafe/Traced.h"
#include "mailbox/MessageOperations.h"
#include "mailbox/MessageRefusal.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

namespace vm::manager_window {

using failsafe::noArguments;
using failsafe::runTraced;

namespace {

// Column of the message list that holds a row's bare file name.
constexpr int kFileNameCol = 4;

struct MenuItem {
    const char* name;
    QString text;
    void (ManagerWindow::*command)();
};

// Runs `atExit` however the scope is left.
class OnExit {
public:
    explicit OnExit(std::function<void()> atExit) : atExit_(std::move(atExit)) {}
    ~OnExit() { atExit_(); }
    OnExit(const OnExit&) = delete;
    OnExit& operator=(const OnExit&) = delete;

private:
    std::function<void()> atExit_;
};

bool inMessageFolder(const QString& target)
{
    const QString folder = platform::realPath(QFileInfo(target).absolutePath());
    return !folder.isEmpty() && folder == platform::realPath(config::messageFolder());
}

// Writes a copy of the message at `target`. A file already there is replaced
// only when the operator says so, and then in one atomic step; a folder,
// link or device there is refused.
void saveCopy(ManagerWindow& w, const QString& message, const QString& target)
{
    // A file written into the message folder is a message to the engine:
    // copies for a box go through Copy to box, which names them right.
    if (inMessageFolder(target))
        throw mailbox::MessageRefusal(
            QStringLiteral("%1: a copy is saved outside the message folder; Copy to box makes one for a box")
                .arg(target));
    if (!platform::existsAtName(target)) {
        mailbox::exportMessage(message, target);
        return;
    }
    if (const std::optional<QString> why = platform::notRegularAtName(target))
        throw mailbox::MessageRefusal(*why);
    const mailbox::CheckedMessage m = mailbox::checkedMessage(message);
    if (w.messageBoxes().show(
            QStringLiteral("%1 exists already.\r\nReplace it with a copy of the message?").arg(target),
            MsgButtons::YesNoCancel, kWindowCaption) != MsgAnswer::Yes)
        return;
    platform::replaceFileAtomically(target, m.content());
    platform::ignoreErrors([&] { platform::setLastWriteTime(target, m.time); });
}

}  // namespace

DialogService& ManagerWindow::dialogs()
{
    if (DialogService* replaced = dialogService().get())
        return *replaced;
    static QtDialogService onScreen;  // keeps no state
    return onScreen;
}

void ManagerWindow::buildMessageMenu()
{
    ui_->mnuMsgList = new QMenu(this);
    ui_->mnuMsgList->setObjectName(QStringLiteral("mnuMsgList"));
    const MenuItem items[] = {
        {"mnuMsgPlay", QStringLiteral("&Play"), &ManagerWindow::cmdPlayMsg_Click},
        {"mnuMsgSaveCopy", QStringLiteral("&Save a copy as…"), &ManagerWindow::mnuMsgSaveCopy_Click},
        {"mnuMsgCopyToBox", QStringLiteral("&Copy to box…"), &ManagerWindow::mnuMsgCopyToBox_Click},
        {nullptr, {}, nullptr},
        {"mnuMsgMarkNew", QStringLiteral("Mark as &new"), &ManagerWindow::mnuMsgMarkNew_Click},
        {"mnuMsgMarkSaved", QStringLiteral("Mark as sa&ved"), &ManagerWindow::mnuMsgMarkSaved_Click},
        {nullptr, {}, nullptr},
        {"mnuMsgDelete", QStringLiteral("&Delete"), &ManagerWindow::cmdDeleteMsg_Click},
    };
    for (const MenuItem& item : items) {
        if (!item.name) {
            ui_->mnuMsgList->addSeparator();
            continue;
        }
        QAction* action = ui_->mnuMsgList->addAction(item.text);
        action->setObjectName(QLatin1String(item.name));
        connect(action, &QAction::triggered, this, [this, command = item.command] { (this->*command)(); });
    }

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
    const qsizetype selected = selectedMessageNames().size();
    for (QAction* action : ui_->mnuMsgList->actions()) {
        if (!action->isSeparator())
            action->setEnabled(selected > 0);
    }
    // One file dialog names one file.
    ui_->mnuMsgList->findChild<QAction*>(QStringLiteral("mnuMsgSaveCopy"))->setEnabled(selected == 1);
    ui_->mnuMsgList->popup(at);
}

// The messages of the selection, from its first row to its last; a row
// without a file name (the "No Messages" row) holds none.
QStringList ManagerWindow::selectedMessageNames() const
{
    const widgets::FlexGrid& grid = *ui_->gridMsgList;
    const int first = std::max(1, std::min(grid.row(), grid.rowSel()));
    const int last = std::min(grid.rows() - 1, std::max(grid.row(), grid.rowSel()));
    QStringList names;
    for (int r = first; r <= last; ++r) {
        const QString name = grid.textMatrix(r, kFileNameCol);
        if (!name.isEmpty())
            names << name;
    }
    return names;
}

void ManagerWindow::actOnMessages(const QStringList& names, const std::function<QString(const QString&)>& operation)
{
    if (names.isEmpty())
        return;
    QStringList selectAfter;
    QStringList refusals;
    {
        // Also after a run-time error part-way: what was done shows.
        const OnExit relist([&] { relistMessages(selectAfter); });
        for (const QString& name : names) {
            try {
                selectAfter << QFileInfo(operation(config::messageFolder() + name)).fileName();
            } catch (const mailbox::MessageRefusal& refusal) {
                selectAfter << name;
                if (!refusals.contains(refusal.line()))
                    refusals << refusal.line();
            }
        }
    }
    if (!refusals.isEmpty())
        messageBoxes().show(refusals.join(QStringLiteral("\r\n")), MsgButtons::OkOnly, kWindowCaption);
}

void ManagerWindow::relistMessages(const QStringList& select)
{
    gridVmbList_SelChange();
    platform::ignoreErrors([&] {
        widgets::FlexGrid& grid = *ui_->gridMsgList;
        int first = 0;
        int last = 0;
        for (int r = 1; r < grid.rows(); ++r) {
            if (select.contains(grid.textMatrix(r, kFileNameCol))) {
                first = first ? first : r;
                last = r;
            }
        }
        if (!first)
            return;
        grid.setRow(first);
        grid.setCol(0);
        grid.setRowSel(last);
        grid.setColSel(kFileNameCol);
    });
}

void ManagerWindow::mnuMsgSaveCopy_Click()
{
    runTraced(kModule, QStringLiteral("Sub mnuMsgSaveCopy_Click"), noArguments, [this] {
        const QStringList names = selectedMessageNames();
        if (names.size() != 1)
            return;
        const std::optional<QString> target = dialogs().saveFileName(this, QStringLiteral("Save a copy as"),
                                                                     QDir::homePath() + u'/' + names.front());
        if (!target)
            return;
        try {
            saveCopy(*this, config::messageFolder() + names.front(), *target);
        } catch (const mailbox::MessageRefusal& refusal) {
            messageBoxes().show(refusal.line(), MsgButtons::OkOnly, kWindowCaption);
        }
    });
}

void ManagerWindow::mnuMsgCopyToBox_Click()
{
    runTraced(kModule, QStringLiteral("Sub mnuMsgCopyToBox_Click"), noArguments, [this] {
        const QStringList names = selectedMessageNames();
        if (names.isEmpty())
            return;
        const std::optional<QString> answer = dialogs().askText(
            this, kWindowCaption,
            names.size() == 1 ? QStringLiteral("Copy the message to box number:")
                              : QStringLiteral("Copy the %1 messages to box number:").arg(names.size()));
        const QString id = answer.value_or(QString()).trimmed();
        if (id.isEmpty())
            return;
        actOnMessages(names, [&](const QString& path) {
            mailbox::copyMessage(boxes_, path, id);
            return path;  // the originals stay selected
        });
    });
}

void ManagerWindow::mnuMsgMarkNew_Click()
{
    runTraced(kModule, QStringLiteral("Sub mnuMsgMarkNew_Click"), noArguments, [this] {
        actOnMessages(selectedMessageNames(), [](const QString& path) { return mailbox::markMessage(path, true); });
    });
}

void ManagerWindow::mnuMsgMarkSaved_Click()
{
    runTraced(kModule, QStringLiteral("Sub mnuMsgMarkSaved_Click"), noArguments, [this] {
        actOnMessages(selectedMessageNames(), [](const QString& path) { return mailbox::markMessage(path, false); });
    });
}

}  // namespace vm::manager_window
