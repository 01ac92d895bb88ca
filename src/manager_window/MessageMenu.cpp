#include "MessageMenu.h"

#include <QAction>
#include <QMenu>

namespace vm::manager_window {

namespace {

struct MenuItem {
    const char* name;  // after the prefix; none for a separator
    QString text;
    MessageCommand command;
};

const char* const kCommandProperty = "messageCommand";

}  // namespace

QMenu* buildMessageMenu(QWidget* parent, const QString& prefix, const std::function<void(MessageCommand)>& run)
{
    auto* menu = new QMenu(parent);
    const MenuItem items[] = {
        {"Play", QStringLiteral("&Play"), MessageCommand::Play},
        {"Listen", QStringLiteral("&Listen…"), MessageCommand::Listen},
        {"SaveCopy", QStringLiteral("&Save a copy as…"), MessageCommand::SaveCopy},
        {"CopyToBox", QStringLiteral("&Copy to box…"), MessageCommand::CopyToBox},
        {"Forward", QStringLiteral("Forward by e-&mail…"), MessageCommand::Forward},
        {nullptr, {}, {}},
        {"MarkNew", QStringLiteral("Mark as &new"), MessageCommand::MarkNew},
        {"MarkSaved", QStringLiteral("Mark as sa&ved"), MessageCommand::MarkSaved},
        {nullptr, {}, {}},
        {"Delete", QStringLiteral("&Delete"), MessageCommand::Delete},
    };
    for (const MenuItem& item : items) {
        if (!item.name) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(item.text);
        action->setObjectName(prefix + QLatin1String(item.name));
        action->setProperty(kCommandProperty, static_cast<int>(item.command));
        QObject::connect(action, &QAction::triggered, menu, [run, command = item.command] { run(command); });
    }
    return menu;
}

void enableMessageMenu(QMenu& menu, qsizetype selected)
{
    for (QAction* action : menu.actions()) {
        const QVariant command = action->property(kCommandProperty);
        if (!command.isValid())
            continue;
        const bool onlyOne = command.toInt() == static_cast<int>(MessageCommand::SaveCopy) ||
                             command.toInt() == static_cast<int>(MessageCommand::Forward);
        action->setEnabled(selected == 1 || (selected > 1 && !onlyOne));
    }
}

}  // namespace vm::manager_window
