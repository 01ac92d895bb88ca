// The first tab's two lists: the mailbox list rebuilt from the table, the
// message list of the selected box, message clicks and the button groups.
#include "frmVmailCfg.h"

#include "BusyCursor.h"
#include "MessageFolder.h"
#include "WindowText.h"
#include "widgets/FitText.h"
#include "widgets/FlexGrid.h"

#include "config/Paths.h"
#include "failsafe/Traced.h"
#include "mailbox/VmailLib.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"
#include "platform/VbNumbers.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

namespace vm::window {

using failsafe::argumentList;
using failsafe::eventArg;
using failsafe::noArguments;
using failsafe::runTraced;

namespace {

// Keeps a grid locked against repainting until the end of the scope,
// whichever way the scope is left.
class RepaintLock {
public:
    explicit RepaintLock(widgets::FlexGrid& grid) : grid_(grid) { grid_.lockRepaint(); }
    ~RepaintLock() { grid_.unlockRepaint(); }
    RepaintLock(const RepaintLock&) = delete;
    RepaintLock& operator=(const RepaintLock&) = delete;

private:
    widgets::FlexGrid& grid_;
};

void setButtonsEnabled(std::initializer_list<QPushButton*> buttons, bool on)
{
    for (QPushButton* b : buttons)
        b->setEnabled(on);
}

}  // namespace

void frmVmailCfg::rebuildMailboxList()
{
    std::int16_t boxCount = 0;
    if (!ignoreErrors([&] { boxCount = VmbArray().upperBound(); }))
        return;  // the table was never created: the list stays as it is
    lblMsgCount[2]->setText(QString::number(boxCount));
    widgets::fitTextToWidth(*lblMsgCount[2]);
    gridVmbList->setRows(1);

    const BusyCursor busy;
    QCoreApplication::processEvents();
    {
        const RepaintLock lock(*gridVmbList);
        const MailboxTable& table = VmbArray();
        // Row i shows Id, Pin and Description of entry i; the cells share
        // the table's texts.
        std::vector<QString> cells;
        cells.reserve(static_cast<std::size_t>(boxCount) * 4);
        for (int i = 1; i <= boxCount; ++i) {
            const VoicemailBox& box = table.at(i);
            cells.insert(cells.end(), {box.Id, box.Pin, box.Description, QString()});
        }
        gridVmbList->appendRows(std::move(cells));
    }
    for (int c = 0; c <= 2; ++c)
        gridVmbList->setColAlignment(c, widgets::FlexGrid::LeftCenter);
    gridVmbList->setCol(3);
}

void frmVmailCfg::gridVmbList_SelChange()
{
    runTraced(kModule, QStringLiteral("Sub gridVmbList_SelChange"), noArguments, [this] {
        gridMsgList->setRows(1);
        gridMsgList->setCol(1);
        const QString id = gridVmbList->textMatrix(gridVmbList->row(), 0);

        lblMsgCount[0]->setText(QString());
        lblMsgCount[1]->setText(QString());
        lblMsgCount[0]->repaint();
        lblMsgCount[1]->repaint();

        BtnsEnableVmb();
        if (!fs::fileExists(paths::greetingFile(id))) {
            cmdPlayIntro->setEnabled(false);
            cmdStopPlay[0]->setEnabled(false);
        }
        sSelectedVmbId = id;

        // A box's messages are named Id + "_" + ...; the underscore keeps box
        // 1 from listing box 10's messages.
        const std::vector<MessageFile> files = scanMessageFolder(paths::messageFolder(), id + QStringLiteral("_*.wav"));
        iLastMsgRow = -1;
        if (files.empty())
            showNoMessagesRow();
        else
            listMessages(files);
    });
}

void frmVmailCfg::listMessages(const std::vector<MessageFile>& files)
{
    gridMsgList->setCol(0);
    gridMsgList->setText(QString());
    gridMsgList->setColWidth(0, 360);
    BtnsEnableMsg();

    Int16 rowNumber = 0;
    Int16 newCount = 0;
    Int16 savedCount = 0;
    gridMsgList->setCol(4);
    {
        const RepaintLock lock(*gridMsgList);
        const QString folder = paths::messageFolder();
        const MessageDates dates;
        // The rows go into the list together, each with its status icon in
        // column 0; a failure part-way leaves the rows before it listed, the
        // last of them current at column 0, as adding them one by one would.
        const int firstRow = gridMsgList->rows();
        std::vector<QString> cells;
        std::vector<bool> isNew;
        cells.reserve(files.size() * 5);
        isNew.reserve(files.size());
        const auto addRows = [&] {
            const int added = static_cast<int>(isNew.size());
            gridMsgList->appendRows(std::move(cells));
            for (int k = 0; k < added; ++k) {
                gridMsgList->setCellAlignmentAt(firstRow + k, 0, widgets::FlexGrid::LeftCenter);
                gridMsgList->setCellPictureAt(firstRow + k, 0, imgSndStatus.picture(isNew[k] ? 0 : 1));
            }
            if (added > 0) {
                gridMsgList->setRow(firstRow + added - 1);
                gridMsgList->setCol(0);
            }
        };
        try {
            QString newMarker;
            QString caller;
            for (const MessageFile& file : files) {
                ++rowNumber;
                QString date = dates.text(file.lastWriteSecs(folder));
                QString length = lengthText(playingSeconds(file.sizeInBytes(folder)));
                MsgFileNameParse(file.name, newMarker, caller);
                cells.insert(cells.end(), {QString(), std::move(date), std::move(length), caller, file.name});
                const bool messageIsNew = newMarker == QStringLiteral("1");
                isNew.push_back(messageIsNew);
                if (!messageIsNew)
                    ++savedCount;
                else
                    ++newCount;
            }
        } catch (...) {
            addRows();
            throw;
        }
        addRows();
    }
    lblMsgCount[0]->setText(QString::number(newCount));
    lblMsgCount[1]->setText(QString::number(savedCount));
    widgets::fitTextToWidth(*lblMsgCount[0]);
    widgets::fitTextToWidth(*lblMsgCount[1]);
    gridMsgList->setRow(1);
    gridMsgList->setCol(4);
}

void frmVmailCfg::showNoMessagesRow()
{
    // The row's other cells are blank: only column 0 holds text.
    gridMsgList->addItem(QStringLiteral("No Messages\t\t"), 1);
    gridMsgList->setRow(0);
    gridMsgList->setCol(0);
    gridMsgList->setText(QString());
    gridMsgList->setColWidth(0, 10000);
    gridMsgList->setCol(4);
    BtnsDisableMsg();
    cmdRecMsg->setEnabled(true);
}

void frmVmailCfg::gridMsgList_MouseDown(std::int16_t Button, std::int16_t Shift, float x, float Y)
{
    runTraced(
        kModule, QStringLiteral("Sub gridMsgList_MouseDown"),
        [&] {
            return argumentList({eventArg(QStringLiteral("Button"), static_cast<long long>(Button)),
                                 eventArg(QStringLiteral("Shift"), static_cast<long long>(Shift)),
                                 eventArg(QStringLiteral("x"), static_cast<double>(x)),
                                 eventArg(QStringLiteral("Y"), static_cast<double>(Y))});
        },
        [this] {
            if (iLastMsgRow == gridMsgList->row())
                return;
            // Once the previous row's icon is being restored, a failing
            // statement is skipped and the next one runs.
            bool skipFailures = false;
            auto statement = [&](auto&& step) {
                if (skipFailures)
                    ignoreErrors(step);
                else
                    step();
            };
            if (iLastMsgRow > 0) {
                const int clicked = gridMsgList->row();
                skipFailures = true;
                QString previousFile;
                statement([&] { previousFile = gridMsgList->textMatrix(iLastMsgRow, 4); });
                // A previous row that no longer holds a message counts as none.
                if (!previousFile.isEmpty()) {
                    QString newMarker;
                    QString caller;
                    statement([&] { MsgFileNameParse(previousFile, newMarker, caller); });
                    statement([&] { gridMsgList->setRow(iLastMsgRow); });
                    statement([&] { gridMsgList->setCol(0); });
                    statement([&] {
                        gridMsgList->setCellPicture(imgSndStatus.picture(newMarker != QStringLiteral("1") ? 1 : 0));
                    });
                    statement([&] { gridMsgList->setRow(clicked); });
                }
            }
            QString file;
            statement([&] { file = gridMsgList->textMatrix(gridMsgList->row(), 4); });
            QString newMarker;
            QString caller;
            statement([&] { MsgFileNameParse(file, newMarker, caller); });
            if (!file.isEmpty()) {
                statement([&] { gridMsgList->setCol(0); });
                statement([&] { gridMsgList->setColSel(4); });
                statement([&] { iLastMsgRow = gridMsgList->row(); });
                statement([&] { BtnsEnableMsg(); });
            }
        });
}

void frmVmailCfg::gridVmbList_DblClick()
{
    runTraced(kModule, QStringLiteral("Sub gridVmbList_DblClick"), noArguments, [this] { cmdVmbModify_Click(); });
}

void frmVmailCfg::BtnsDisableMsg()
{
    runTraced(kModule, QStringLiteral("Sub BtnsDisableMsg"), noArguments, [this] {
        setButtonsEnabled({cmdRecMsg, cmdPlayMsg, cmdStopPlay[1], cmdDeleteMsg}, false);
    });
}

void frmVmailCfg::BtnsEnableMsg()
{
    runTraced(kModule, QStringLiteral("Sub BtnsEnableMsg"), noArguments, [this] {
        setButtonsEnabled({cmdRecMsg, cmdPlayMsg, cmdStopPlay[1], cmdDeleteMsg}, true);
    });
}

void frmVmailCfg::BtnsDisableVmb()
{
    runTraced(kModule, QStringLiteral("Sub BtnsDisableVmb"), noArguments, [this] {
        setButtonsEnabled({cmdRecIntro, cmdPlayIntro, cmdStopPlay[0], cmdDeleteVmb}, false);
    });
}

void frmVmailCfg::BtnsEnableVmb()
{
    runTraced(kModule, QStringLiteral("Sub BtnsEnableVmb"), noArguments, [this] {
        setButtonsEnabled({cmdRecIntro, cmdPlayIntro, cmdStopPlay[0], cmdDeleteVmb}, true);
    });
}

}  // namespace vm::window
