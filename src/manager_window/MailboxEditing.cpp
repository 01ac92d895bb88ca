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
#include "mailbox/BoxStore.h"
#include "mailbox/BoxText.h"
#include "mailbox/SafeFileName.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

#include <QCheckBox>
#include <QLabel>

namespace vm::window {

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
        throw RuntimeError(380, QStringLiteral("Invalid property value"));
    box.setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

}  // namespace

QString ManagerWindow::Text2VmbId(const QString& strIn)
{
    QString result;
    runTraced(
        kModule, QStringLiteral("Function Text2VmbId"),
        [&] { return argumentList({variantArg(QStringLiteral("strIn$"), strIn)}); },
        [&] { result = boxIdFromText(strIn); });
    return result;
}

QString ManagerWindow::Text2VmbPin(const QString& strIn)
{
    QString result;
    runTraced(
        kModule, QStringLiteral("Function Text2VmbPin"),
        [&] { return argumentList({variantArg(QStringLiteral("strIn$"), strIn)}); },
        [&] { result = boxPinFromText(strIn); });
    return result;
}

void ManagerWindow::cmdVmbAdd_Click()
{
    runTraced(kModule, QStringLiteral("Sub cmdVmbAdd_Click"), noArguments, [this] {
        const QString id = Text2VmbId(ui_->txtNewVmb[0]->text());
        const QString pin = Text2VmbPin(ui_->txtNewVmb[1]->text());
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

        VoicemailBox box;
        box.Id = id;
        box.Pin = pin;
        box.Groups = trimBlanks(ui_->txtNewVmb[7]->text());
        box.Description = trimBlanks(ui_->txtNewVmb[2]->text());
        box.EmailForward = trimBlanks(ui_->txtNewVmb[3]->text());
        box.PhoneForward = trimBlanks(ui_->txtNewVmb[4]->text());
        box.PagerNumber = trimBlanks(ui_->txtNewVmb[5]->text());
        box.PagerMessage = trimBlanks(ui_->txtNewVmb[6]->text());
        box.OnReceive = trimBlanks(ui_->txtNewVmb[8]->text());
        box.FtpUpload = checkValue(*ui_->chkUploadToFtp);
        box.DeleteAfterForward = checkValue(*ui_->chkDeleteAfterForward);
        // Looked up by the number as stored, so "12a" finds box 12.
        const bool addition = storeBox(boxes_, box) == Stored::Added;

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
        const std::int16_t idx = VmbFind(boxes_, sSelectedVmbId);
        if (idx <= 0)
            return;
        const VoicemailBox box = boxes_.at(idx);
        ui_->txtNewVmb[0]->setText(box.Id);
        ui_->txtNewVmb[1]->setText(box.Pin);
        ui_->txtNewVmb[2]->setText(box.Description);
        ui_->txtNewVmb[3]->setText(box.EmailForward);
        ui_->txtNewVmb[4]->setText(box.PhoneForward);
        ui_->txtNewVmb[5]->setText(box.PagerNumber);
        ui_->txtNewVmb[6]->setText(box.PagerMessage);
        ui_->txtNewVmb[7]->setText(box.Groups);
        ui_->txtNewVmb[8]->setText(box.OnReceive);
        setCheckValue(*ui_->chkUploadToFtp, box.FtpUpload);
        setCheckValue(*ui_->chkDeleteAfterForward, box.DeleteAfterForward);
        ui_->SSTab1->setTab(1);
        iCurVmbIdx = idx;
    });
}

namespace {

// Browsing ends quietly on any run-time error: no message, no error report.
template <class Step>
void quietly(Step&& step)
{
    try {
        step();
    } catch (...) {
    }
}

}  // namespace

void ManagerWindow::cmdNext_Click()
{
    runTraced(kModule, QStringLiteral("Sub cmdNext_Click"), noArguments, [this] {
        quietly([this] {
            const Int16 k = Int16(iCurVmbIdx) + 1;
            const QString id = boxes_.at(k).Id;
            if (!id.isEmpty()) {
                sSelectedVmbId = id;
                cmdVmbModify_Click();
            }
        });
    });
}

void ManagerWindow::cmdPrev_Click()
{
    runTraced(kModule, QStringLiteral("Sub cmdPrev_Click"), noArguments, [this] {
        quietly([this] {
            const Int16 k = Int16(iCurVmbIdx) - 1;
            const QString id = boxes_.at(k).Id;
            if (!id.isEmpty()) {
                sSelectedVmbId = id;
                cmdVmbModify_Click();
            }
        });
    });
}

void ManagerWindow::cmdDeleteVmb_Click()
{
    runTraced(kModule, QStringLiteral("Sub cmdDeleteVmb_Click"), noArguments, [this] {
        const int r = ui_->gridVmbList->row();
        // The box of the current row (column 0); the heading row names no box.
        const QString t = r >= 1 ? ui_->gridVmbList->textMatrix(r, 0) : QString();
        if (messageBoxes().show(QStringLiteral("Are you sure you want to delete mailbox ") + t + QStringLiteral(" ?"),
                                MsgButtons::YesNoCancel, kWindowCaption) != MsgAnswer::Yes)
            return;
        if (r < 1)
            return;
        // A blank box's greeting is ".wav" and goes with it like any other. A
        // number read from a list file may hold a path; such a name never
        // leads to deleting a file outside the greeting folder.
        if (isSafeFileNamePart(t))
            ignoreErrors([&] { fs::deleteFile(paths::greetingFile(t)); });
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

}  // namespace vm::window
