// The window shell: start-up (the load handler), tab changes, Exit and Help.
#include "ManagerWindow.h"
#include "WindowControls.h"

#include "HtmlHelpQvLib.h"
#include "MessageBoxService.h"
#include "WindowText.h"
#include "widgets/FlexGrid.h"
#include "widgets/TabControl.h"
#include "widgets/TextBox.h"

#include "VmMgrStub.h"
#include "config/Paths.h"
#include "config/Settings.h"
#include "failsafe/Traced.h"
#include "mailbox/FolderLoad.h"
#include "platform/VbNumbers.h"

#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace vm::manager_window {

using failsafe::argumentList;
using failsafe::eventArg;
using failsafe::noArguments;
using failsafe::runTraced;

namespace {

void setHeadings(widgets::FlexGrid& grid, const QStringList& headings)
{
    grid.setRow(0);
    for (int c = 0; c < headings.size(); ++c) {
        grid.setCol(c);
        grid.setText(headings[c]);
    }
}

}  // namespace

void ManagerWindow::Form_Load()
{
    runTraced(kModule, QStringLiteral("Sub Form_Load"), noArguments, [this] {
        // Until its last step is done, the load counts as cut short.
        incompleteStart_ = {};
        incompleteStart_.loadEndedEarly = true;
        setHeadings(*ui_->gridVmbList,
                    {QStringLiteral("ID"), QStringLiteral("PIN"), QStringLiteral(" Comments"), QString()});
        ui_->gridVmbList->setColWidth(0, 700);
        ui_->gridVmbList->setColWidth(1, 700);
        ui_->gridVmbList->setColWidth(
            2, platform::roundToInt32(ui_->gridVmbList->widthTwips() - ui_->gridVmbList->colWidth(0) -
                                      ui_->gridVmbList->colWidth(1)));
        ui_->gridVmbList->setColWidth(3, 0);

        ui_->gridVmbList->setColAlignment(0, widgets::FlexGrid::LeftCenter);
        ui_->gridVmbList->setColAlignment(1, widgets::FlexGrid::LeftCenter);
        for (int c = 0; c <= 3; ++c)
            ui_->gridMsgList->setColAlignment(c, widgets::FlexGrid::LeftCenter);

        setHeadings(*ui_->gridMsgList,
                    {QString(), QStringLiteral("Date"), QStringLiteral("Length"), QStringLiteral("From")});
        ui_->gridMsgList->setColWidth(0, 360);
        ui_->gridMsgList->setColWidth(1, 1400);
        ui_->gridMsgList->setColWidth(2, 1100);
        ui_->gridMsgList->setColWidth(3, ui_->gridMsgList->widthTwips() - ui_->gridMsgList->colWidth(0) -
                                             ui_->gridMsgList->colWidth(1) - ui_->gridMsgList->colWidth(2));
        ui_->gridMsgList->setColWidth(kMsgListRestCol, 0);
        ui_->gridMsgList->setCol(kMsgListRestCol);

        BtnsDisableVmb();
        BtnsDisableMsg();

        incompleteStart_.problems = mailbox::VmbLoadArray(boxes_, runLog()).problems;
        config::LoadConfig(settings_, config::iniFile());

        ui_->Text1[0]->setText(QString::number(settings_.RecLengthMin));
        ui_->Text1[1]->setText(QString::number(settings_.RecLengthMax));
        // The body's CR LF line ends become the field's own line breaks.
        ui_->txtEmailBody->setPlainText(
            QString(settings_.ForwardEmailBody).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        ui_->txtEmailSubject->setText(settings_.ForwardEmailSubject);
        ui_->txtSmtpMailHost->setText(settings_.ForwardEmailSmtpServer);
        ui_->txtSmtpEmailAddress->setText(settings_.ForwardEmailSmtpEmailAddress);
        ui_->txtSmtpLoginName->setText(settings_.ForwardEmailSmtpLoginName);
        ui_->txtSmtpLoginPassword->setText(settings_.ForwardEmailSmtpLoginPassword);

        // Selecting raises the option's click handler, which writes the choice back.
        if (settings_.ForwardEmailMechanism == QStringLiteral("SMTP"))
            ui_->optEmailMechanism[2]->setChecked(true);
        else
            ui_->optEmailMechanism[1]->setChecked(true);

        ui_->txtFtpServer->setText(settings_.FtpServer);
        ui_->txtFtpDir->setText(settings_.FtpDir);
        ui_->txtFtpUser->setText(settings_.FtpUser);
        ui_->txtFtpPassword->setText(settings_.FtpPassword);
        ui_->txtRunCommand->setText(settings_.RunCommandAfterRec);

        std::int16_t newCount = 0;
        std::int16_t savedCount = 0;
        std::int32_t totalMinutes = 0;
        std::int32_t availableMinutes = 0;
        GetMessageStats(newCount, savedCount, totalMinutes, availableMinutes);
        ui_->txtStats[0]->setText(QString::number(newCount));
        ui_->txtStats[1]->setText(QString::number(savedCount));

        std::int16_t previousTab = 1;
        SSTab1_Click(previousTab);

        ui_->txtStats[2]->setText(hoursText(totalMinutes));
        ui_->txtStats[3]->setText(hoursText(availableMinutes));
        incompleteStart_.loadEndedEarly = false;
    });
    if (incompleteStart_.loadEndedEarly)
        incompleteStart_.configKey = config::LoadConfigStopKey(config::iniFile());
}

void ManagerWindow::tellIncompleteStart()
{
    if (unloaded_ || unloading_ || !isVisible())
        return;
    auto* notice = new QMessageBox(QMessageBox::Warning, kWindowCaption, incompleteStart_.notice(), QMessageBox::Ok,
                                   this);
    notice->setObjectName(QStringLiteral("incompleteStartNotice"));
    notice->setTextFormat(Qt::PlainText);
    notice->setInformativeText(incompleteStart_.noticeDetails());
    notice->setWindowModality(Qt::NonModal);
    notice->setAttribute(Qt::WA_DeleteOnClose);
    incompleteStartNotice_ = notice;
    notice->show();
}

void ManagerWindow::SSTab1_Click(std::int16_t& PreviousTab)
{
    runTraced(
        kModule, QStringLiteral("Sub SSTab1_Click"),
        [&] { return argumentList({eventArg(QStringLiteral("PreviousTab"), static_cast<long long>(PreviousTab))}); },
        [&] {
            ui_->lblAddedOK->setText(QString());
            if (ui_->SSTab1->tab() == 0 && PreviousTab != 0)
                rebuildMailboxList();
        });
}

void ManagerWindow::cmdVmCfgExit_Click(std::int16_t Index)
{
    runTraced(
        kModule, QStringLiteral("Sub cmdVmCfgExit_Click"),
        [&] { return argumentList({eventArg(QStringLiteral("Index"), static_cast<long long>(Index))}); },
        [this] { close(); });
}

void ManagerWindow::cmdVmCfgHelp_Click()
{
    runTraced(kModule, QStringLiteral("Sub cmdVmCfgHelp_Click"), noArguments,
              [this] { HtmlHelpShow(1, QStringLiteral("Main"), this); });
}

}  // namespace vm::manager_window
