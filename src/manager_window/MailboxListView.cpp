// The first tab's two lists: the mailbox list rebuilt from the table, the
// message list of the selected box, message clicks and the button groups.
#include "ManagerWindow.h"
#include "WindowControls.h"

#include "BusyCursor.h"
#include "MessageFolder.h"
#include "WindowText.h"
#include "widgets/FitText.h"
#include "widgets/FlexGrid.h"
#include "widgets/TabControl.h"

#include "config/Paths.h"
#include "failsafe/Traced.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"
#include "platform/VbNumbers.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

namespace vm::manager_window {

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

void ManagerWindow::rebuildMailboxList()
{
    std::int16_t boxCount = 0;
    if (!platform::ignoreErrors([&] { boxCount = boxes_.upperBound(); }))
        return;  // the table was never created: the list stays as it is
    ui_->lblMsgCount[2]->setText(QString::number(boxCount));
    widgets::fitTextToWidth(*ui_->lblMsgCount[2]);
    ui_->gridVmbList->setRows(1);

    const BusyCursor busy;
    QCoreApplication::processEvents();
    {
        const RepaintLock lock(*ui_->gridVmbList);
        const mailbox::MailboxTable& table = boxes_;
        // Row i shows Id, Pin and Description of entry i; the cells share
        // the table's texts.
        std::vector<QString> cells;
        cells.reserve(static_cast<std::size_t>(boxCount) * 4);
        for (int i = 1; i <= boxCount; ++i) {
            const mailbox::VoicemailBox& box = table.at(i);
            cells.insert(cells.end(), {box.Id, box.Pin, box.Description, QString()});
        }
        ui_->gridVmbList->appendRows(std::move(cells));
    }
    for (int c = 0; c <= 2; ++c)
        ui_->gridVmbList->setColAlignment(c, widgets::FlexGrid::LeftCenter);
    ui_->gridVmbList->setCol(3);
}

void ManagerWindow::gridVmbList_SelChange()
{
    runTraced(kModule, QStringLiteral("Sub gridVmbList_SelChange"), noArguments, [this] {
        ui_->gridMsgList->setRows(1);
        messages_.clear();
        ui_->gridMsgList->setCol(1);
        const QString id = ui_->gridVmbList->textMatrix(ui_->gridVmbList->row(), 0);

        ui_->lblMsgCount[0]->setText(QString());
        ui_->lblMsgCount[1]->setText(QString());
        ui_->lblMsgCount[0]->repaint();
        ui_->lblMsgCount[1]->repaint();

        BtnsEnableVmb();
        if (!platform::fileExists(config::greetingFile(id))) {
            ui_->cmdPlayIntro->setEnabled(false);
            ui_->cmdStopPlay[0]->setEnabled(false);
        }
        sSelectedVmbId = id;

        // A box's messages are named Id + "_" + ...; the underscore keeps box
        // 1 from listing box 10's messages.
        const std::vector<MessageFile> files = scanMessageFolder(config::messageFolder(),
                                                                 id + QStringLiteral("_*.wav"));
        iLastMsgRow = -1;
        if (files.empty())
            showNoMessagesRow();
        else
            listMessages(id, files);
    });
}

void ManagerWindow::listMessages(const QString& id, const std::vector<MessageFile>& files)
{
    widgets::FlexGrid& grid = *ui_->gridMsgList;
    grid.setCol(0);
    grid.setText(QString());
    grid.setColWidth(0, 360);
    BtnsEnableMsg();

    platform::Int16 rowNumber = 0;
    platform::Int16 newCount = 0;
    platform::Int16 savedCount = 0;
    grid.setCol(kMsgListRestCol);
    {
        const RepaintLock lock(grid);
        const QString folder = config::messageFolder();
        const MessageDates dates;
        // The rows go into the list together, each with its status icon in
        // column 0; a failure part-way leaves the rows before it listed, the
        // last of them current at column 0, as adding them one by one would.
        std::vector<ListedMessage> listed;
        listed.reserve(files.size());
        const auto addRows = [&] {
            const int firstRow = grid.rows();
            const int added = static_cast<int>(listed.size());
            std::vector<QString> cells;
            cells.reserve(listed.size() * 5);
            for (const ListedMessage& m : listed)
                cells.insert(cells.end(), {QString(), dates.text(m.writtenSecs), lengthText(m.seconds), m.caller, {}});
            grid.appendRows(std::move(cells));
            int r = firstRow;
            for (const ListedMessage& m : listed) {
                grid.setCellAlignmentAt(r, 0, widgets::FlexGrid::LeftCenter);
                grid.setCellPictureAt(r++, 0, ui_->imgSndStatus.picture(m.isNew ? 0 : 1));
            }
            messages_.append(std::move(listed));
            if (added > 0) {
                grid.setRow(firstRow + added - 1);
                grid.setCol(0);
            }
        };
        try {
            for (const MessageFile& file : files) {
                ++rowNumber;
                const std::int64_t written = file.lastWriteSecs(folder);
                listed.push_back(listedMessage(file.name, id, written, file.sizeInBytes(folder)));
                if (!listed.back().isNew)
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
    ui_->lblMsgCount[0]->setText(QString::number(newCount));
    ui_->lblMsgCount[1]->setText(QString::number(savedCount));
    widgets::fitTextToWidth(*ui_->lblMsgCount[0]);
    widgets::fitTextToWidth(*ui_->lblMsgCount[1]);
    grid.setRow(1);
    grid.setCol(kMsgListRestCol);
}

void ManagerWindow::showNoMessagesRow()
{
    // The row's other cells are blank: only column 0 holds text.
    ui_->gridMsgList->addItem(QStringLiteral("No Messages\t\t"), 1);
    ui_->gridMsgList->setRow(0);
    ui_->gridMsgList->setCol(0);
    ui_->gridMsgList->setText(QString());
    ui_->gridMsgList->setColWidth(0, 10000);
    ui_->gridMsgList->setCol(kMsgListRestCol);
    BtnsDisableMsg();
    ui_->cmdRecMsg->setEnabled(true);
}

void ManagerWindow::gridMsgList_MouseDown(std::int16_t Button, std::int16_t Shift, float x, float Y)
{
    runTraced(
        kModule, QStringLiteral("Sub gridMsgList_MouseDown"),
        [&] {
            return argumentList({eventArg(QStringLiteral("Button"), static_cast<long long>(Button)),
                                 eventArg(QStringLiteral("Shift"), static_cast<long long>(Shift)),
                                 eventArg(QStringLiteral("x"), static_cast<double>(x)),
                                 eventArg(QStringLiteral("Y"), static_cast<double>(Y))});
        },
        [this] { highlightMessageRow(); });
}

void ManagerWindow::highlightMessageRow()
{
    if (iLastMsgRow == ui_->gridMsgList->row())
        return;
    // Once the previous row's icon is being restored, a failing
    // statement is skipped and the next one runs.
    bool skipFailures = false;
    auto statement = [&](auto&& step) {
        if (skipFailures)
            platform::ignoreErrors(step);
        else
            step();
    };
    if (iLastMsgRow > 0) {
        const int clicked = ui_->gridMsgList->row();
        skipFailures = true;
        // A previous row that no longer holds a message counts as none.
        if (const ListedMessage* previous = messages_.atRow(iLastMsgRow)) {
            statement([&] { ui_->gridMsgList->setRow(iLastMsgRow); });
            statement([&] { ui_->gridMsgList->setCol(0); });
            statement([&] { ui_->gridMsgList->setCellPicture(ui_->imgSndStatus.picture(previous->isNew ? 0 : 1)); });
            statement([&] { ui_->gridMsgList->setRow(clicked); });
        }
    }
    if (messages_.atRow(ui_->gridMsgList->row())) {
        statement([&] { ui_->gridMsgList->setCol(0); });
        statement([&] { ui_->gridMsgList->setColSel(kMsgListRestCol); });
        statement([&] { iLastMsgRow = ui_->gridMsgList->row(); });
        statement([&] { BtnsEnableMsg(); });
    }
}

QString ManagerWindow::showMessage(const QString& box, const QString& file)
{
    if (ui_->SSTab1->tab() != 0)
        ui_->SSTab1->setTab(0);  // as the operator's click on the tab: the list is built again
    widgets::FlexGrid& boxes = *ui_->gridVmbList;
    int row = 0;
    for (int r = 1; r < boxes.rows() && row == 0; ++r) {
        if (boxes.textMatrix(r, 0).compare(box, Qt::CaseInsensitive) == 0)
            row = r;
    }
    if (row == 0)
        return QStringLiteral("Box %1 is not in the mailbox list.").arg(box);
    boxes.setRow(row);
    boxes.setCol(0);
    boxes.setColSel(boxes.cols() - 1);
    boxes.scrollTo(boxes.model()->index(row - 1, 0));
    gridVmbList_SelChange();
    const std::optional<RowSpan> rows = messages_.rowsOf({file});
    if (!rows)
        return QStringLiteral("%1 is not in box %2 any more.").arg(file, box);
    ui_->gridMsgList->setRow(rows->first);
    highlightMessageRow();
    ui_->gridMsgList->scrollTo(ui_->gridMsgList->model()->index(rows->first - 1, 0));
    ui_->gridMsgList->setFocus();  // Delete and the menu keys act on it at once
    return {};
}

void ManagerWindow::boxMessagesChanged(const QStringList& boxes)
{
    if (!sSelectedVmbId.isEmpty() && boxes.contains(sSelectedVmbId, Qt::CaseInsensitive))
        gridVmbList_SelChange();
}

void ManagerWindow::gridVmbList_DblClick()
{
    runTraced(kModule, QStringLiteral("Sub gridVmbList_DblClick"), noArguments, [this] { cmdVmbModify_Click(); });
}

void ManagerWindow::BtnsDisableMsg()
{
    runTraced(kModule, QStringLiteral("Sub BtnsDisableMsg"), noArguments, [this] {
        setButtonsEnabled({ui_->cmdRecMsg, ui_->cmdPlayMsg, ui_->cmdStopPlay[1], ui_->cmdDeleteMsg}, false);
    });
}

void ManagerWindow::BtnsEnableMsg()
{
    runTraced(kModule, QStringLiteral("Sub BtnsEnableMsg"), noArguments, [this] {
        setButtonsEnabled({ui_->cmdRecMsg, ui_->cmdPlayMsg, ui_->cmdStopPlay[1], ui_->cmdDeleteMsg}, true);
    });
}

void ManagerWindow::BtnsDisableVmb()
{
    runTraced(kModule, QStringLiteral("Sub BtnsDisableVmb"), noArguments, [this] {
        setButtonsEnabled({ui_->cmdRecIntro, ui_->cmdPlayIntro, ui_->cmdStopPlay[0], ui_->cmdDeleteVmb}, false);
    });
}

void ManagerWindow::BtnsEnableVmb()
{
    runTraced(kModule, QStringLiteral("Sub BtnsEnableVmb"), noArguments, [this] {
        setButtonsEnabled({ui_->cmdRecIntro, ui_->cmdPlayIntro, ui_->cmdStopPlay[0], ui_->cmdDeleteVmb}, true);
    });
}

}  // namespace vm::manager_window
