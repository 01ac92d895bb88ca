// Mailbox editing: storing the "Add / Modify" fields as a new or changed box,
// loading a box into them, browsing through the table and deleting a box
// with its greeting.
#include "ManagerWindow.h"
#include "WindowControls.h"

#include "MessageBoxService.h"
#include "WindowText.h"
#include "widgets/FitText.h"
#include "widgets/FlexGrid.h"
#include "widgets/TabControl.h"
#include "widgets/TextBox.h"

#include "config/Paths.h"
#include "failsafe/Traced.h"
#include "mailbox/BoxFields.h"
#include "mailbox/BoxStore.h"
#include "mailbox/BoxText.h"
#include "mailbox/MessageDelete.h"
#include "mailbox/SafeFileName.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

#include <QCheckBox>
#include <QLabel>

namespace vm::manager_window {

using failsafe::argumentList;
using failsafe::eventArg;
using failsafe::noArguments;
using failsafe::runTraced;
using failsafe::variantArg;

namespace {

std::int16_t checkValue(const QCheckBox& box)
{
    switch (box.checkState()) {
        case Qt::Checked: return 1;
        case Qt::PartiallyChecked: return 2;
        default: return 0;
    }
}

void setCheckValue(QCheckBox& box, std::int16_t value)
{
    if (value < 0 || value > 2)
        throw platform::RuntimeError(380, QStringLiteral("Invalid property value"));
    box.setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

}  // namespace

QString ManagerWindow::Text2VmbId(const QString& strIn)
{
    QString result;
    runTraced(
        kModule, QStringLiteral("Function Text2VmbId"),
        [&] { return argumentList({variantArg(QStringLiteral("strIn$"), strIn)}); },
        [&] { result = mailbox::boxIdFromText(strIn); });
    return result;
}

QString ManagerWindow::Text2VmbPin(const QString& strIn)
{
    QString result;
    runTraced(
        kModule, QStringLiteral("Function Text2VmbPin"),
        [&] { return argumentList({variantArg(QStringLiteral("strIn$"), strIn)}); },
        [&] { result = mailbox::boxPinFromText(strIn); });
    return result;
}

QString ManagerWindow::fieldText(const mailbox::BoxField& field) const
{
    return ui_->txtNewVmb[static_cast<std::size_t>(field.windowField)]->text();
}

void ManagerWindow::cmdVmbAdd_Click()
{
    runTraced(kModule, QStringLiteral("Sub cmdVmbAdd_Click"), noArguments, [this] {
        const QString id = Text2VmbId(fieldText(mailbox::boxField(mailbox::Field::Id)));
        const QString pin = Text2VmbPin(fieldText(mailbox::boxField(mailbox::Field::Pin)));
        if (id.isEmpty()) {
            messageBoxes().show(QStringLiteral("Please specify the Voicemail Box number."), MsgButtons::OkOnly,
                                kAppTitle);
            return;
        }
        if (pin.isEmpty()) {
            messageBoxes().show(QStringLiteral("Please specify the Voicemail Box's PIN number."), MsgButtons::OkOnly,
                                kWindowCaption);
            return;
        }

        mailbox::VoicemailBox box;
        box.Id = id;
        box.Pin = pin;
        for (const mailbox::BoxField* f : mailbox::kWindowOrder)
            if (f->kind == mailbox::FieldKind::Text)
                box.*(f->text) = mailbox::trimBlanks(fieldText(*f));
        box.FtpUpload = checkValue(*ui_->chkUploadToFtp);
        box.DeleteAfterForward = checkValue(*ui_->chkDeleteAfterForward);
        // Looked up by the number as stored, so "12a" finds box 12.
        const bool addition = mailbox::storeBox(boxes_, box) == mailbox::Stored::Added;

        for (widgets::TextBox* field : ui_->txtNewVmb)
            field->setText(QString());
        ui_->chkUploadToFtp->setCheckState(Qt::Unchecked);
        ui_->chkDeleteAfterForward->setCheckState(Qt::Unchecked);

        if (addition) {
            ui_->lblAddedOK->setText(QStringLiteral("Mailbox was added OK"));
        } else {
            ui_->lblAddedOK->setText(QStringLiteral("Mailbox info changed OK"));
        }
    });
}

void ManagerWindow::cmdVmbModify_Click()
{
    runTraced(kModule, QStringLiteral("Sub cmdVmbModify_Click"), noArguments, [this] {
        const std::int16_t idx = mailbox::VmbFind(boxes_, sSelectedVmbId);
        if (idx <= 0)
            return;
        const mailbox::VoicemailBox box = boxes_.at(idx);
        // In the order of the text boxes: each change is a traced event.
        for (const mailbox::BoxField* f : mailbox::kWindowOrder)
            ui_->txtNewVmb[static_cast<std::size_t>(f->windowField)]->setText(box.*(f->text));
        setCheckValue(*ui_->chkUploadToFtp, box.FtpUpload);
        setCheckValue(*ui_->chkDeleteAfterForward, box.DeleteAfterForward);
        ui_->SSTab1->setTab(1);
        iCurVmbIdx = idx;
    });
}

// Browsing ends quietly on any run-time error (no box there, a 16-bit
// overflow): no message, no error report.
void ManagerWindow::browseBy(int step)
{
    try {
        const platform::Int16 k = iCurVmbIdx + step;
        const QString id = boxes_.at(k).Id;
        if (!id.isEmpty()) {
            sSelectedVmbId = id;
            cmdVmbModify_Click();
        }
    } catch (...) {
    }
}

void ManagerWindow::cmdNext_Click()
{
    runTraced(kModule, QStringLiteral("Sub cmdNext_Click"), noArguments, [this] { browseBy(1); });
}

void ManagerWindow::cmdPrev_Click()
{
    runTraced(kModule, QStringLiteral("Sub cmdPrev_Click"), noArguments, [this] { browseBy(-1); });
}

void ManagerWindow::cmdDeleteVmb_Click()
{
    runTraced(kModule, QStringLiteral("Sub cmdDeleteVmb_Click"), noArguments, [this] {
        const int r = ui_->gridVmbList->row();
        // The box of the current row (column 0); the heading row names no box.
        const QString t = r >= 1 ? ui_->gridVmbList->textMatrix(r, 0) : QString();
        if (messageBoxes().ask(QStringLiteral("Are you sure you want to delete mailbox ") + t + QStringLiteral(" ?"),
                               MsgButtons::YesNoCancel, kWindowCaption,
                               QStringLiteral("Its welcome greeting goes to the trash, from where it can be restored "
                                              "to its place.")) != MsgAnswer::Yes)
            return;
        if (r < 1)
            return;
        // A blank box's greeting is ".wav" and goes with it like any other. A
        // number read from a list file may hold a path; such a name never
        // leads to deleting a file outside the greeting folder.
        if (mailbox::isSafeFileNamePart(t)) {
            const QString greeting = config::greetingFile(t);
            mailbox::Removed removed;
            if (platform::ignoreErrors([&] { removed = mailbox::removeFile(greeting, mailbox::Removal::ToTrash); }) &&
                !removed.trashed)
                platform::ignoreErrors([&] { tellDeletedForGood(greeting, removed.whyNotTrashed); });
        }
        if (ui_->gridVmbList->rows() >= 3)
            ui_->gridVmbList->removeItem(r);
        else
            ui_->gridVmbList->setRows(1);
        boxes_.remove(r);
        ui_->lblMsgCount[2]->setText(QString::number(boxes_.upperBound()));
        widgets::fitTextToWidth(*ui_->lblMsgCount[2]);
    });
}

void ManagerWindow::txtNewVmb_Change(std::int16_t Index)
{
    runTraced(
        kModule, QStringLiteral("Sub txtNewVmb_Change"),
        [&] { return argumentList({eventArg(QStringLiteral("Index"), static_cast<long long>(Index))}); },
        [this] { ui_->lblAddedOK->setText(QString()); });
}

void ManagerWindow::txtNewVmb_GotFocus(std::int16_t Index)
{
    runTraced(
        kModule, QStringLiteral("Sub txtNewVmb_GotFocus"),
        [&] { return argumentList({eventArg(QStringLiteral("Index"), static_cast<long long>(Index))}); },
        [this] { ui_->lblAddedOK->setText(QString()); });
}

}  // namespace vm::manager_window
