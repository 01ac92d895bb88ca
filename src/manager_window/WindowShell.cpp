// The window shell: start-up (the load handler), tab changes, Exit and Help.
#include "frmVmailCfg.h"

#include "HtmlHelpQvLib.h"
#include "MessageBoxService.h"
#include "WindowText.h"
#include "widgets/FlexGrid.h"
#include "widgets/TabControl.h"
#include "widgets/TextBox.h"

#include "config/GlobalStuff.h"
#include "failsafe/Traced.h"
#include "mailbox/FolderLoad.h"
#include "mailbox/VmailLib.h"
#include "platform/VbNumbers.h"

#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace vm::window {

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

void frmVmailCfg::Form_Load()
{
    runTraced(kModule, QStringLiteral("Sub Form_Load"), noArguments, [this] {
        // Until its last step is done, the load counts as cut short.
        incompleteStart_ = {};
        incompleteStart_.loadEndedEarly = true;
        setHeadings(*gridVmbList,
                    {QStringLiteral("ID"), QStringLiteral("PIN"), QStringLiteral(" Comments"), QString()});
        gridVmbList->setColWidth(0, 700);
        gridVmbList->setColWidth(1, 700);
        gridVmbList->setColWidth(
            2, roundToInt32(gridVmbList->widthTwips() - gridVmbList->colWidth(0) - gridVmbList->colWidth(1)));
        gridVmbList->setColWidth(3, 0);

        gridVmbList->setColAlignment(0, widgets::FlexGrid::LeftCenter);
        gridVmbList->setColAlignment(1, widgets::FlexGrid::LeftCenter);
        for (int c = 0; c <= 3; ++c)
            gridMsgList->setColAlignment(c, widgets::FlexGrid::LeftCenter);

        setHeadings(*gridMsgList,
                    {QString(), QStringLiteral("Date"), QStringLiteral("Length"), QStringLiteral("From")});
        gridMsgList->setColWidth(0, 360);
        gridMsgList->setColWidth(1, 1400);
        gridMsgList->setColWidth(2, 1100);
        gridMsgList->setColWidth(3, gridMsgList->widthTwips() - gridMsgList->colWidth(0) - gridMsgList->colWidth(1) -
                                        gridMsgList->colWidth(2));
        gridMsgList->setColWidth(4, 0);
        gridMsgList->setCol(4);

        BtnsDisableVmb();
        BtnsDisableMsg();

        incompleteStart_.problems = VmbLoadArrayWithReport().problems;
        config::LoadConfig();

        Text1[0]->setText(QString::number(config::RecLengthMin));
        Text1[1]->setText(QString::number(config::RecLengthMax));
        // The body's CR LF line ends become the field's own line breaks.
        txtEmailBody->setPlainText(
            QString(config::ForwardEmailBody).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        txtEmailSubject->setText(config::ForwardEmailSubject);
        txtSmtpMailHost->setText(config::ForwardEmailSmtpServer);
        txtSmtpEmailAddress->setText(config::ForwardEmailSmtpEmailAddress);

        // Selecting raises the option's click handler, which writes the choice back.
        if (config::ForwardEmailMechanism == QStringLiteral("SMTP"))
            optEmailMechanism[2]->setChecked(true);
        else
            optEmailMechanism[1]->setChecked(true);

        txtFtpServer->setText(config::FtpServer);
        txtFtpDir->setText(config::FtpDir);
        txtFtpUser->setText(config::FtpUser);
        txtFtpPassword->setText(config::FtpPassword);
        txtRunCommand->setText(config::RunCommandAfterRec);

        std::int16_t newCount = 0;
        std::int16_t savedCount = 0;
        std::int32_t totalMinutes = 0;
        std::int32_t availableMinutes = 0;
        GetMessageStats(newCount, savedCount, totalMinutes, availableMinutes);
        txtStats[0]->setText(QString::number(newCount));
        txtStats[1]->setText(QString::number(savedCount));

        std::int16_t previousTab = 1;
        SSTab1_Click(previousTab);

        txtStats[2]->setText(hoursText(totalMinutes));
        txtStats[3]->setText(hoursText(availableMinutes));
        incompleteStart_.loadEndedEarly = false;
    });
    if (incompleteStart_.loadEndedEarly)
        incompleteStart_.configKey = config::LoadConfigStopKey();
}

void frmVmailCfg::tellIncompleteStart()
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

void frmVmailCfg::SSTab1_Click(std::int16_t& PreviousTab)
{
    runTraced(
        kModule, QStringLiteral("Sub SSTab1_Click"),
        [&] { return argumentList({eventArg(QStringLiteral("PreviousTab"), static_cast<long long>(PreviousTab))}); },
        [&] {
            lblAddedOK->setText(QString());
            if (SSTab1->tab() == 0 && PreviousTab != 0)
                rebuildMailboxList();
        });
}

void frmVmailCfg::cmdVmCfgExit_Click(std::int16_t Index)
{
    runTraced(
        kModule, QStringLiteral("Sub cmdVmCfgExit_Click"),
        [&] { return argumentList({eventArg(QStringLiteral("Index"), static_cast<long long>(Index))}); },
        [this] { close(); });
}

void frmVmailCfg::cmdVmCfgHelp_Click()
{
    runTraced(kModule, QStringLiteral("Sub cmdVmCfgHelp_Click"), noArguments,
              [this] { HtmlHelpShow(1, QStringLiteral("Main"), this); });
}

}  // namespace vm::window
