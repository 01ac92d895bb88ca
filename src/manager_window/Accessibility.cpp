// What a screen reader says for each control: a button its caption, a field
// the caption in front of it (the label is the field's buddy), a list its
// heading, and a picture button what it does.
#include "ManagerWindow.h"
#include "WindowControls.h"

#include "widgets/FlexGrid.h"
#include "widgets/TabControl.h"
#include "widgets/TextBox.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>

namespace vm::manager_window {

namespace {

// The field a caption stands in front of: the nearest control that takes
// the keyboard focus, to the right of the caption on the same line.
QWidget* fieldAfter(const QLabel& caption)
{
    QWidget* nearest = nullptr;
    const QRect c = caption.geometry();
    for (QObject* child : caption.parentWidget()->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || qobject_cast<QAbstractButton*>(w) || !(w->focusPolicy() & Qt::TabFocus))
            continue;
        const QRect f = w->geometry();
        if (f.left() < c.right() || f.top() > c.center().y() || f.bottom() < c.center().y())
            continue;
        if (!nearest || f.left() < nearest->geometry().left())
            nearest = w;
    }
    return nearest;
}

}  // namespace

void ManagerWindow::nameForScreenReaders()
{
    for (QLabel* caption : findChildren<QLabel*>())
        if (!caption->text().isEmpty() && !caption->buddy())
            if (QWidget* field = fieldAfter(*caption))
                caption->setBuddy(field);

    // A list is named by the heading above it; the tabs, the password (which
    // shares its caption with the login name) and the picture buttons by what
    // they are for.
    const std::pair<QWidget*, QString> named[] = {
        {ui_->SSTab1, QStringLiteral("Voicemail Manager tabs")},
        {ui_->gridVmbList, ui_->Label1[0]->text()},
        {ui_->gridMsgList, ui_->Label1[2]->text()},
        {ui_->txtSmtpLoginPassword, QStringLiteral("Password :")},
        {ui_->cmdDeleteVmb, QStringLiteral("Delete mailbox and its welcoming message")},
        {ui_->cmdRecIntro, QStringLiteral("Record welcoming message")},
        {ui_->cmdPlayIntro, QStringLiteral("Play the current welcoming message")},
        {ui_->cmdStopPlay[0], QStringLiteral("Stop playing the welcoming message")},
        {ui_->cmdDeleteMsg, QStringLiteral("Delete message")},
        {ui_->cmdRecMsg, QStringLiteral("Record new message")},
        {ui_->cmdPlayMsg, QStringLiteral("Play message")},
        {ui_->cmdStopPlay[1], QStringLiteral("Stop playing the message")},
        {ui_->cmdPrev, QStringLiteral("Previous mailbox")},
        {ui_->cmdNext, QStringLiteral("Next mailbox")},
    };
    for (const auto& [control, name] : named)
        control->setAccessibleName(name);
}

}  // namespace vm::manager_window
