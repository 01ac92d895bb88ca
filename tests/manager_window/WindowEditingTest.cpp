// The window's editing: adding, changing, browsing and deleting boxes, the
// length limits, Help, and what closing the window writes.
#include "WindowTestSupport.h"

#include "manager_window/HtmlHelpQvLib.h"

#include <QCheckBox>
#include <QPlainTextEdit>

using namespace vm::test;
using vm::manager_window::MsgAnswer;

class EditingTest : public WindowTest {
protected:
    QStringList tableIds() const
    {
        QStringList ids;
        for (int i = 1; i <= win->mailboxes().upperBound(); ++i)
            ids << win->mailboxes().at(i).Id;
        return ids;
    }
    void store(const QString& id, const QString& pin, const QString& comment = {})
    {
        type(edit("txtNewVmb", 0), id);
        type(edit("txtNewVmb", 1), pin);
        if (!comment.isNull())
            type(edit("txtNewVmb", 2), comment);
        QTest::mouseClick(button("cmdVmbAdd"), Qt::LeftButton);
    }
};

// The digits kept of a typed number and PIN, and a change of an existing box
// by its number: what the soak's random typing cannot predict.
TEST_F(EditingTest, StoringKeepsTheDigitsAndTheFirstFourOfThePinAndOverwritesAnExistingNumber)
{
    folder.write(QStringLiteral("data/VmBoxList.xml"), mailboxFile({mailboxLine("12", "1111", "old", 1)}));
    load();
    store(QStringLiteral("7"), QStringLiteral("1234567"));
    store(QStringLiteral("9a"), QStringLiteral("x9"));
    ui<QCheckBox>("chkDeleteAfterForward")->setChecked(true);
    store(QStringLiteral("12a"), QStringLiteral("2222"), QStringLiteral("new"));
    EXPECT_EQ(tableIds(), (QStringList{"12", "7", "9"}));
    EXPECT_EQ(win->mailboxes().at(2).Pin, QStringLiteral("1234"));
    EXPECT_EQ(win->mailboxes().at(3).Pin, QStringLiteral("9"));
    const vm::mailbox::VoicemailBox& box = win->mailboxes().at(1);
    EXPECT_EQ(QStringList({box.Pin, box.Description}), QStringList({"2222", "new"}));
    EXPECT_EQ(box.FtpUpload, 0) << "left unchecked, so cleared";
    EXPECT_EQ(box.DeleteAfterForward, 1);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(EditingTest, MissingNumberOrPinIsReportedAndNothingStored)
{
    load();
    store(QStringLiteral("abc"), QStringLiteral("1"));  // digits only: no number
    store(QStringLiteral("5"), QStringLiteral("pin"));
    EXPECT_EQ(shownBoxes(),
              (QStringList{"RiVaVaz|OK|Please specify the Voicemail Box number.",
                           "Quorvane Voicemail Manager|OK|Please specify the Voicemail Box's PIN number."}));
    EXPECT_EQ(win->mailboxes().upperBound(), 0);
    EXPECT_EQ(edit("txtNewVmb", 0)->text(), QStringLiteral("5")) << "the fields keep their text";
}

TEST_F(EditingTest, NextBeforeAnyLoadNamesTheFirstBoxBrowsingStopsAtTheEndsADoubleClickOpensOne)
{
    folder.write(QStringLiteral("data/VmBoxList.xml"),
                 mailboxFile({mailboxLine("1", "11"), mailboxLine("2", "22"), mailboxLine("3", "33", "three", 1)}));
    load();
    QTest::mouseClick(button("cmdNext"), Qt::LeftButton);
    EXPECT_EQ(edit("txtNewVmb", 1)->text(), QStringLiteral("11"));
    // Browsing goes one entry on or back and stops at either end.
    for (const QByteArray step : {"cmdNext 22", "cmdNext 33", "cmdNext 33", "cmdPrev 22", "cmdPrev 11", "cmdPrev 11"}) {
        QTest::mouseClick(button(step.left(7).constData()), Qt::LeftButton);
        EXPECT_EQ(edit("txtNewVmb", 1)->text(), step.mid(8)) << step.constData();
    }
    tabs()->setTab(0);
    clickBox(3);  // a double click's first press selects the box
    QTest::mouseDClick(boxList()->viewport(), Qt::LeftButton, {}, cell(*boxList(), 3, 0));
    EXPECT_EQ(tabs()->tab(), 1);
    EXPECT_EQ(edit("txtNewVmb", 2)->text(), QStringLiteral("three"));
}

// Box 7 is only in the legacy list: the start-up merge leaves a blank row
// for it, sorted first; a greeting recorded for that row is ".wav".
TEST_F(EditingTest, DeletingABoxAsksByItsNumberAndABlankRowTakesItsGreetingToo)
{
    folder.write(QStringLiteral("data/VmBoxList.txt"), "\"7\",\"1\",\"seven\"\r\n");
    folder.write(QStringLiteral("data/VmBoxList.xml"), mailboxFile({mailboxLine("1", "1")}));
    load();
    folder.write(QStringLiteral("data/VmWelc/.wav"), "RIFF");
    clickBox(2);
    boxes.answers = {MsgAnswer::No};
    QTest::mouseClick(button("cmdDeleteVmb"), Qt::LeftButton);
    EXPECT_EQ(shownBoxes(), QStringList{"Quorvane Voicemail Manager|YNC|Are you sure you want to delete mailbox 1 ?"});
    clickBox(1);
    QTest::mouseClick(button("cmdDeleteVmb"), Qt::LeftButton);
    EXPECT_EQ(tableIds(), QStringList{"1"});
    EXPECT_EQ(column(*boxList(), 0), QStringList{"1"});
    EXPECT_FALSE(folder.exists(QStringLiteral("data/VmWelc/.wav")));
}

TEST_F(EditingTest, LengthLimitsAreClampedAndWrittenWhenTheFieldIsLeft)
{
    auto& w = load();
    tabs()->setTab(2);
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const struct {
        int field;
        const char* typed;
        const char* kept;
    } cases[] = {{0, "45", "30"}, {0, "a", "1"}, {0, " 7 ", "7"}, {1, "123456", "1234"}, {1, "1", "2"}};
    for (const auto& c : cases) {
        vm::widgets::TextBox* box = edit("Text1", c.field);
        type(box, QLatin1String(c.typed));
        edit("Text1", 2)->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(box->text(), QLatin1String(c.kept)) << c.typed;
        const QString key = c.field == 0 ? QStringLiteral("RecLengthMin=") : QStringLiteral("RecLengthMax=");
        EXPECT_TRUE(ini().contains(key + QLatin1String(c.kept) + QStringLiteral("\r\n"))) << c.typed;
    }
    const QString before = ini();
    type(edit("Text1", 2), QStringLiteral("abc"));
    edit("Text1", 0)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(edit("Text1", 2)->text(), QStringLiteral("abc"));
    edit("Text1", 1)->setFocus(Qt::TabFocusReason);  // leaving Text1(0) unchanged writes it again, same bytes
    EXPECT_EQ(ini(), before);
}

TEST_F(EditingTest, HelpOpensTheHelpFileOnlyWhenItExists)
{
    static QStringList opened;
    const auto scope = vm::manager_window::helpOpener().replace(
        [](const QString& path) { return opened << path, true; });
    load();
    QTest::mouseClick(button("cmdVmCfgHelp"), Qt::LeftButton);
    EXPECT_TRUE(opened.isEmpty());
    folder.write(QStringLiteral("qv.chm"), "ITSF");
    QTest::mouseClick(button("cmdVmCfgHelp"), Qt::LeftButton);
    EXPECT_EQ(opened, QStringList{folder.file(QStringLiteral("qv.chm"))});
}

TEST_F(EditingTest, ExitWritesTheListTheBodyFileAndTheKeysOfTheFields)
{
    folder.write(QStringLiteral("data/VmBoxList.xml"), mailboxFile({mailboxLine("3", "3")}));
    folder.write(QStringLiteral("QV.INI"), "[Voicemail]\r\nFtpDir=/old\r\nForwardEmailSmtpServer=mail\r\n");
    folder.write(QStringLiteral("VmEmailForwardBody.txt"), "Hello,\r\nnew message\r\n");
    auto& w = load();
    EXPECT_EQ(ui<QPlainTextEdit>("txtEmailBody")->toPlainText(), QStringLiteral("Hello,\nnew message"));
    const QString longText(40000, u'x');  // longer than a line edit takes by default
    edit("txtNewVmb", 2)->setText(longText);
    store(QStringLiteral("20"), QStringLiteral("2020"));
    type(edit("txtEmailSubject"), QStringLiteral("Voicemail "));
    type(edit("txtFtpUser"), QStringLiteral("user"));
    type(edit("txtSmtpLoginName"), QStringLiteral("login"));
    ui<QPlainTextEdit>("txtEmailBody")->setPlainText(QStringLiteral("Line 1\nLine 2, \u00e9"));

    QTest::mouseClick(button("cmdVmCfgExit(2)"), Qt::LeftButton);
    EXPECT_TRUE(w.unloaded());
    EXPECT_FALSE(w.isVisible());

    EXPECT_EQ(folder.read(QStringLiteral("data/VmBoxList.xml")),
              mailboxFile({mailboxLine("20", "2020", longText), mailboxLine("3", "3")}));
    EXPECT_EQ(folder.read(QStringLiteral("VmEmailForwardBody.txt")), QByteArray("Line 1\r\nLine 2, \xe9\r\n"));
    EXPECT_EQ(folder.read(QStringLiteral("QV.INI")),
              QByteArray("[Voicemail]\r\nFtpDir=/old\r\nForwardEmailSmtpServer=mail\r\nForwardEmailMechanism=MAPI\r\n"
                         "ForwardEmailSubject=Voicemail \r\nForwardEmailSmtpEmailAddress=\r\n"
                         "ForwardEmailSmtpLoginName=login\r\nFtpServer=\r\n"
                         "FtpUser=user\r\nFtpPassword=\r\nRunCommandAfterRec=\r\n"));

    w.close();  // a second close does not save again
    EXPECT_EQ(folder.read(QStringLiteral("QV.INI")).count("FtpUser"), 1);
}

TEST_F(EditingTest, UntouchedBodyKeepsEveryByte)
{
    QByteArray line;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n')
            line += static_cast<char>(b);
    const QByteArray body = line + "\r\n" + line + "\r\n";
    folder.write(QStringLiteral("VmEmailForwardBody.txt"), body);
    load().close();
    EXPECT_EQ(folder.read(QStringLiteral("VmEmailForwardBody.txt")), body);
}

TEST_F(EditingTest, EnteringTheFirstTabRebuildsTheListOtherTabChangesDoNot)
{
    folder.write(QStringLiteral("data/VmBoxList.xml"), mailboxFile({mailboxLine("1", "1")}));
    load();
    store(QStringLiteral("2"), QStringLiteral("2"));  // "Mailbox was added OK"

    tabs()->setTab(2);
    EXPECT_EQ(label("lblAddedOK")->text(), QString());
    tabs()->setTab(4);
    EXPECT_EQ(boxList()->rows(), 2);
    tabs()->setTab(0);
    EXPECT_EQ(column(*boxList(), 0), (QStringList{"1", "2"}));
    EXPECT_EQ(label("lblMsgCount", 2)->text(), QStringLiteral("2"));
}
