// The window's start-up and its first tab: mailbox list, message list of the
// selected box and its buttons, message clicks, statistics, tab changes.
#include "WindowTestSupport.h"

#include "support/Digest.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QRegularExpression>

using namespace vm::test;
using vm::widgets::FlexGrid;

// On an empty folder: the grids' headings and column widths, and every
// control each tab shows, with its caption or text, its tool tip and whether
// it is enabled (every button of the first tab is off until a box is
// selected), pinned as a whole.
TEST_F(WindowTest, OpensOnAnEmptyFolderWithEveryControlOnItsTab)
{
    auto& w = load();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Quorvane Voicemail Manager"));
    EXPECT_EQ(boxList()->rows(), 1);
    EXPECT_EQ(messageList()->col(), 4);
    edit("txtStats", 3)->clear();  // the free space depends on the machine
    QStringList shown;
    for (FlexGrid* grid : {boxList(), messageList()})
        for (int c = 0; c < grid->cols(); ++c)
            shown << grid->textMatrix(0, c) + u' ' + QString::number(grid->colWidth(c));
    for (int tab = 0; tab < tabs()->count(); ++tab) {
        tabs()->setTab(tab);
        shown << tabs()->tabText(tab);
        for (const QWidget* c : w.findChildren<QWidget*>()) {
            const auto* label = qobject_cast<const QLabel*>(c);
            const auto* button = qobject_cast<const QAbstractButton*>(c);
            const auto* frame = qobject_cast<const QGroupBox*>(c);
            const auto* field = qobject_cast<const QLineEdit*>(c);
            const QString text = label    ? label->text()
                                 : button ? button->text()
                                 : frame  ? frame->title()
                                 : field  ? field->text()
                                          : QString();
            if (c->isVisible() && !(c->objectName() + text).isEmpty() &&
                !c->objectName().startsWith(QLatin1String("qt_")))
                shown << QString::number(tab) + (c->isEnabled() ? u'+' : u'-') + c->objectName() + u'|' + text + u'|' +
                             c->toolTip();
        }
    }
    EXPECT_EQ(digest(shown), "ddc96b0f6778e53e") << shown.join(u'\n').toStdString();
}

TEST_F(WindowTest, MechanismIsSelectedAndWrittenBackAtStartUp)
{
    const struct {
        const char* stored;
        int option;
        const char* written;
    } cases[] = {{nullptr, 1, "MAPI"}, {"smtp", 1, "MAPI"}, {"SMTP", 2, "SMTP"}};
    for (const auto& c : cases) {
        QByteArray text = "[Voicemail]\r\n";
        if (c.stored)
            text += "ForwardEmailMechanism=" + QByteArray(c.stored) + "\r\n";
        folder.write(QStringLiteral("QV.INI"), text);
        load();
        EXPECT_TRUE(ui<QRadioButton>("optEmailMechanism", c.option)->isChecked()) << c.written;
        EXPECT_TRUE(ini().contains(QStringLiteral("ForwardEmailMechanism=") + QLatin1String(c.written)));
    }
}

TEST_F(WindowTest, LoadAndExitRunTheirStepsInOrderAndTraceThem)
{
    vm::failsafe::resetState();
    folder.write(QStringLiteral("FSCLIENT.INI"),
                 "[log file]\r\nWrite To Disk=1\r\nCapture To Disk=1\r\nLog File=trace.log\r\n");
    folder.write(QStringLiteral("data/VmBoxList.xml"), mailboxFile({}));
    load();
    QTest::mouseClick(button("cmdVmCfgExit(2)"), Qt::LeftButton);
    const QString trace = QString::fromLatin1(folder.read(QStringLiteral("trace.log")));
    vm::failsafe::resetState();

    QStringList entered;
    static const QRegularExpression entry(
        QStringLiteral("->\\t*(?:frmVmailCfg\\.frm|VmMgrStub\\.bas) : (?:Sub|Function) (\\w+) : (\\([^)]*\\))"));
    for (auto m = entry.globalMatch(trace); m.hasNext();) {
        const auto match = m.next();
        entered << match.captured(1) + match.captured(2);
    }
    EXPECT_EQ(entered,
              (QStringList{"Form_Load()", "BtnsDisableVmb()", "BtnsDisableMsg()",
                           "LogRunInfo(i%=0, s$=Loading VMB data begin)", "LogRunInfo(i%=0, s$=Loading VMB data end)",
                           "optEmailMechanism_Click(Index=1)",
                           "GetMessageStats(iMsgCountNew%=0, iMsgCountSaved%=0, lTotalTimeMins&=0, lAvailMin&=0)",
                           "SSTab1_Click(PreviousTab=1)", "cmdVmCfgExit_Click(Index=2)", "Form_Unload(Cancel=0)"}));
}

TEST_F(WindowTest, BoxesListedAsTextSortedAndTheSelectedBoxsMessagesWithDateAndLength)
{
    folder.write(
        QStringLiteral("data/VmBoxList.xml"),
        mailboxFile({mailboxLine("9", "99", "nine"), mailboxLine("10", "1010", "ten"), mailboxLine("1", "1")}));
    message(QStringLiteral("10_0307090501_1_1_5551234.wav"), 11025 * 65, QDateTime(QDate(2026, 1, 5), QTime(14, 3, 9)));
    message(QStringLiteral("10_0307090502_0_2_.wav"), 16538);
    message(QStringLiteral("10_0307090503_01_2_777.wav"), 0);
    message(QStringLiteral("1_greeting-like.txt"), 10);
    folder.write(QStringLiteral("data/VmWelc/10.wav"), "RIFF");
    load();
    EXPECT_EQ(column(*boxList(), 0), (QStringList{"1", "10", "9"}));

    clickBox(2);  // box 10
    vm::widgets::FlexGrid& list = *messageList();
    ASSERT_EQ(list.rows(), 4);
    EXPECT_EQ(column(list, 1)[0], QStringLiteral("Jan 05, 14:03:09"));
    EXPECT_EQ(column(list, 2), (QStringList{"1:05", "0:02", "0:00"}));
    EXPECT_EQ(listedFiles()[1], QStringLiteral("10_0307090502_0_2_.wav"));
    EXPECT_EQ(QList<int>({list.row(), list.col()}), QList<int>({1, 4}));
    EXPECT_FALSE(list.repaintLocked());

    clickBox(1);  // box 1: its name prefix matches box 10's files only as text
    ASSERT_EQ(list.rows(), 2);
    EXPECT_EQ(list.textMatrix(1, 0), QStringLiteral("No Messages"));
    clickMessage(1);
    EXPECT_FALSE(button("cmdPlayMsg")->isEnabled()) << "the No Messages row is not a message";
}

TEST_F(WindowTest, MessageClicksMoveTheHighlightAndOnlyANewRowActs)
{
    folder.write(QStringLiteral("data/VmBoxList.xml"), mailboxFile({mailboxLine("5", "5")}));
    message(QStringLiteral("5_0307090501_1_1_111.wav"), 100);
    message(QStringLiteral("5_0307090502_0_1_222.wav"), 100);
    load();
    clickBox(1);
    vm::widgets::FlexGrid& list = *messageList();

    clickMessage(2, Qt::RightButton);
    EXPECT_EQ(QList<int>({list.row(), list.col(), list.colSel()}), QList<int>({2, 0, 4}));
    EXPECT_EQ(list.selectionModel()->selectedIndexes().size(), 5);

    button("cmdPlayMsg")->setEnabled(false);
    clickMessage(2);
    EXPECT_FALSE(button("cmdPlayMsg")->isEnabled()) << "clicking the last clicked row does nothing";

    clickMessage(1, Qt::MiddleButton);
    EXPECT_TRUE(button("cmdPlayMsg")->isEnabled());
}

TEST_F(WindowTest, StatisticsCountAllBoxesAndShowTruncatedTenthsOfAnHour)
{
    folder.write(QStringLiteral("data/VmSave/3_0307090501_1_1_3.wav"), {});
    folder.write(QStringLiteral("data/VmSave/odd name.wav"), {});
    message(QStringLiteral("2_0307090501_0_1_2.wav"), (59 * 60 + 30) * 11025);  // 59.5 minutes round to 60
    load();
    EXPECT_EQ((QStringList{edit("txtStats", 0)->text(), edit("txtStats", 1)->text(), edit("txtStats", 2)->text()}),
              (QStringList{"1", "2", "1.0"}));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d*\\.\\d$")).match(edit("txtStats", 3)->text()).hasMatch());
}
