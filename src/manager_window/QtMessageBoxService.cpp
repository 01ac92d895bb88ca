#include "QtMessageBoxService.h"

#include <QMessageBox>

namespace vm::manager_window {

QtMessageBoxService::QtMessageBoxService(QWidget* owner) : owner_(owner) {}

MsgAnswer QtMessageBoxService::show(const QString& text, MsgButtons buttons, const QString& caption)
{
    return ask(text, buttons, caption, QString());
}

MsgAnswer QtMessageBoxService::ask(const QString& text, MsgButtons buttons, const QString& caption, const QString& note)
{
    QMessageBox box(owner_);
    box.setWindowTitle(caption);
    box.setText(text);
    box.setInformativeText(note);
    if (buttons == MsgButtons::YesNoCancel) {
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    switch (box.exec()) {
        case QMessageBox::Yes: return MsgAnswer::Yes;
        case QMessageBox::No: return MsgAnswer::No;
        case QMessageBox::Cancel: return MsgAnswer::Cancel;
        default: return buttons == MsgButtons::YesNoCancel ? MsgAnswer::Cancel : MsgAnswer::Ok;
    }
}

}  // namespace vm::manager_window
