// Forwarding a message by e-mail from the window, through the real menus and
// the real address prompt, to a real SMTP server on this machine; the Email
// tab's login kept in QV.INI.
#include "WindowTestSupport.h"

#include "support/SmtpSink.h"

#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QMenu>
#include <QTableView>
#include <QTimer>

using namespace vm::test;

namespace {

const QString kName = "101_0307090501_1_3_5551234.wav";

class Forward : public WindowTest {
protected:
    ~Forward() override { win.reset(); }

    // Runs `command` and answers the address prompt it opens: notes what the
    // prompt offered, then types `address` (none: cancels).
    void answerPrompt(const std::function<void()>& command, const std::optional<QString>& address)
    {
        offered.clear();
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* prompt = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            if (!prompt)
                return;
            poll.stop();
            offered = prompt->textValue();
            if (!address)
                return prompt->reject();
            prompt->setTextValue(*address);
            prompt->accept();
        });
        poll.start(10);
        command();
    }

    QString offered;
};

TEST_F(Forward, BothMenusSendTheMessageToTheAddressOfferedFromItsBoxAndTheLoginIsKept)
{
    SmtpSink sink({"--login", "vm:pa55"});
    if (!sink.available())
        GTEST_SKIP() << "python3 with aiosmtpd is not installed";
    vm::mailbox::VoicemailBox box;
    box.Id = "101";
    box.Pin = "1";
    box.EmailForward = " ops@example.com ";
    folder.write("data/VmBoxList.xml", mailboxFile({vm::mailbox::mailboxLineBytes(box)}));
    folder.write("data/VmSave/" + kName, wave("sound"));
    const QByteArray qvIni = "[Voicemail]\r\nForwardEmailSubject=New message\r\nForwardEmailSmtpServer=" +
                             sink.server().toLatin1() +
                             "\r\nForwardEmailSmtpEmailAddress=vm@example.com\r\nForwardEmailMechanism=SMTP\r\n"
                             "ForwardEmailSmtpLoginName=vm\r\nForwardEmailSmtpLoginPassword=pa55\r\n";
    folder.write("QV.INI", qvIni);
    traceToFile();
    load();
    boxList()->setRow(1);
    win->gridVmbList_SelChange();
    messageList()->setRow(1);
    QAction* forward = ui<QMenu>("mnuMsgList")->findChild<QAction*>("mnuMsgForward");
    ASSERT_EQ(forward->text(), "Forward by e-&mail…");

    const QStringList calls = traced([&] { answerPrompt([&] { forward->trigger(); }, "ops@example.com"); });
    EXPECT_EQ(calls.join('\n'),
              "->frmVmailCfg.frm : Sub mnuMsgForward_Click : ()\n"
              "<-frmVmailCfg.frm : Sub mnuMsgForward_Click : ()");
    EXPECT_EQ(offered, "ops@example.com");
    EXPECT_EQ(shownBoxes(), QStringList("Quorvane Voicemail Manager|OK|Sent " + kName + " to ops@example.com through " +
                                        sink.server() + "."));
    const QStringList mail = sink.received(0);
    EXPECT_EQ(mail.mid(0, 5).join('|'),
              "from=vm@example.com|to=ops@example.com|login=vm|To=ops@example.com|"
              "Subject=New message");
    EXPECT_EQ(mail.last(), "Part=application/octet-stream|" + kName + "|" + wave("sound").toBase64());

    // The find window's menu: the same prompt; cancelled, nothing goes.
    win->mnuMsgFind_Click();
    auto* results = ui<QTableView>("gridFound");
    results->selectionModel()->setCurrentIndex(results->model()->index(0, 0),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QStringList found = traced([&] {
        answerPrompt([&] { ui<QWidget>("frmFindMessages")->findChild<QAction*>("mnuFoundForward")->trigger(); },
                     std::nullopt);
    });
    EXPECT_EQ(found.value(0), "->frmFindMessages.frm : Sub mnuFoundForward_Click : ()");
    EXPECT_EQ(offered, "ops@example.com");
    EXPECT_EQ(sink.count(), 1);

    // The login stays in QV.INI as the fields hold it, an emptied one too.
    type(edit("txtSmtpLoginPassword"), "");
    QTest::mouseClick(button("cmdVmCfgExit(2)"), Qt::LeftButton);
    EXPECT_TRUE(ini().contains("\r\nForwardEmailSmtpLoginName=vm\r\nForwardEmailSmtpLoginPassword=\r\n"))
        << ini().toStdString();
}

}  // namespace
