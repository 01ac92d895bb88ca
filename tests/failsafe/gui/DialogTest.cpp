// The error report dialog as fsERROR shows it, on the offscreen platform:
// captions, heading, detail fields, error levels, call tree, views, status
// line, printing and the answer it gives.
#include "failsafe/ErrorFixture.h"

#include "failsafe/gui/DialogTexts.h"
#include "failsafe/gui/FailSafeDialog.h"
#include "failsafe/gui/FailSafeDialogHost.h"
#include "support/Digest.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTextCursor>

#include <memory>

namespace vm::failsafe::gui {
namespace {

using namespace test;

template <class Widget = QWidget>
Widget* control(FailSafeDialog& dialog, const char* name)
{
    auto* widget = dialog.findChild<Widget*>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// Every caption, field, button and list row of the dialog, sorted by control:
// hidden buttons and selected rows are marked.
QString snapshot(FailSafeDialog& d)
{
    QStringList texts;
    for (const QLabel* label : d.findChildren<QLabel*>())
        texts << label->objectName() + u'=' + label->text();
    for (const QLineEdit* field : d.findChildren<QLineEdit*>())
        texts << field->objectName() + u'=' + field->text();
    for (const QPushButton* button : d.findChildren<QPushButton*>())
        texts << button->objectName() + (button->isVisible() ? u"="_s : u" hidden="_s) + button->text();
    for (const QListWidget* list : d.findChildren<QListWidget*>())
        for (int row = 0; row < list->count(); ++row)
            texts << u"%1[%2]%3"_s.arg(list->objectName()).arg(row).arg(row == list->currentRow() ? u">"_s : u"="_s) +
                         list->item(row)->text();
    for (const QComboBox* combo : d.findChildren<QComboBox*>())
        for (int row = 0; row < combo->count(); ++row)
            texts << u"%1[%2]="_s.arg(combo->objectName()).arg(row) + combo->itemText(row);
    texts.sort();
    return texts.join(u'\n');
}

#define EXPECT_DIALOG(d, expectedDigest)                                   \
    do {                                                                   \
        const QString texts = snapshot(d);                                 \
        EXPECT_EQ(digest({texts}), expectedDigest) << texts.toStdString(); \
    } while (false)

class DialogTest : public ErrorFixture {
protected:
    void SetUp() override
    {
        ErrorFixture::SetUp();
        host_ = std::make_unique<FailSafeDialogHost>();
        host_->setReportBuilder([this] { return ++rebuilds_, u"rebuilt report\r\n"_s; });
        overrides_.replace(errorDialog(), host_.get());
    }

    // Shows the dialog for error `number` in cmdPlayMsg_Click; `look` runs
    // while it is on screen, then Continue is pressed unless `look` answered.
    std::optional<int> showError(const std::function<void(FailSafeDialog&)>& look,
                                 const QString& source = platform::kProjectName)
    {
        host_->setShownCallback([&](FailSafeDialog& dialog) {
            ++shown_;
            showingWhileShown_ = state().dialogShowing;
            look(dialog);
            if (dialog.isVisible())
                control<QPushButton>(dialog, "nsCtrlContinue")->click();
        });
        return failIn(kPlayMsg, 53, source);
    }

    std::unique_ptr<FailSafeDialogHost> host_;
    int rebuilds_ = 0, shown_ = 0;
    bool showingWhileShown_ = false;
};

TEST_F(DialogTest, FileNotFoundInCmdPlayMsgClick)
{
    writeSettings(u"[log file]\r\nWrite To Disk=1\r\n"_s);
    const auto result = showError([](FailSafeDialog& d) {
        EXPECT_EQ(d.windowTitle(), u"Program Error Intercepted"_s);
        // Without "Force System Info" only the comment view is offered.
        EXPECT_DIALOG(d, "367f4a64ce91a74a");
        auto* comment = control<QPlainTextEdit>(d, "Text1");
        EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
        EXPECT_EQ(comment->toPlainText(), u"Type in what you were doing here."_s);
        EXPECT_EQ(comment->textCursor().selectedText(), comment->toPlainText());
        EXPECT_TRUE(comment->hasFocus());

        comment->setPlainText(u"Played the first message\nof box 101"_s);
        d.close();  // the close box acknowledges as Continue does
    });
    EXPECT_EQ(shown_, 1);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(showingWhileShown_);
    EXPECT_FALSE(state().dialogShowing);
    EXPECT_EQ(host_->dialog(), nullptr);  // unloaded after the error
    EXPECT_TRUE(logText().contains(u"User Said\r\nPlayed the first message\r\nof box 101\r\n"_s));
}

TEST_F(DialogTest, ForceSystemInfoOffersEveryView)
{
    writeSettings(u"[preferences]\r\nForce System Info=1\r\n[log file]\r\nWrite To Disk=1\r\n"_s);
    const auto continued = showError([this](FailSafeDialog& d) {
        EXPECT_EQ(control<QComboBox>(d, "Combo1")->currentIndex(), 0);  // its entries: in the remote error's pin
        auto* pages = control<QStackedWidget>(d, "Picture1");
        auto* report = control<QPlainTextEdit>(d, "nsCtrlArgs");
        EXPECT_EQ(report->toPlainText(), QString(kFixedReport).replace(u"\r\n"_s, u"\n"_s));

        d.chooseView(FailSafeDialog::SourceView);
        EXPECT_EQ(pages->currentIndex(), 1);
        EXPECT_TRUE(d.printableText(FailSafeDialog::SourceView).startsWith(u"Category File System"_s));
        d.chooseView(FailSafeDialog::SystemView);
        EXPECT_EQ(pages->currentIndex(), 3);
        EXPECT_EQ(report->toPlainText(), u"rebuilt report\n"_s);
        d.chooseView(FailSafeDialog::CommentView);
        d.chooseView(FailSafeDialog::SystemView);
        EXPECT_EQ(rebuilds_, 1);
    });
    EXPECT_EQ(continued, 0);
    // The log takes the report as the dialog left it.
    EXPECT_TRUE(logText().contains(u"System State Information\r\nrebuilt report\r\n\r\nUser Said\r\n"_s));
}

TEST_F(DialogTest, RemoteErrorNamesTheComponentAndListsEveryLevel)
{
    writeSettings(u"[preferences]\r\nForce System Info=1\r\n"_s);
    showError(
        [](FailSafeDialog& d) {
            EXPECT_DIALOG(d, "026c2b5bfc84d4ff");  // the deepest level is selected and shown
            control<QListWidget>(d, "errText")->setCurrentRow(0);
            EXPECT_DIALOG(d, "9402a29a68527c01");
        },
        u"2!MailLib!modSend.bas!Function SendNow!12!53!File not found!Store!modStore.bas!Sub Put!0!70!"
        "Permission denied"_s);
}

// The status line names what the pointer is over; a text that differs only
// in letter case leaves it as it is.
TEST_F(DialogTest, StatusLineNamesWhatThePointerIsOver)
{
    showError([](FailSafeDialog& d) {
        const auto enter = [&](const char* name) {
            QEvent event(QEvent::Enter);
            QApplication::sendEvent(control(d, name), &event);
        };
        auto* status = control<QLabel>(d, "lblStatus");
        enter("nsCtrlContinue");
        EXPECT_EQ(status->text(), u"Press to acknowledge this error and continue."_s);
        enter("ErrNo");
        enter("nsCtrlLabel5");
        d.updateStatusBar(u"THE ERROR NUMBER"_s);
        EXPECT_EQ(status->text(), u"The error number"_s);

        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), d.mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&d, &move);
        EXPECT_EQ(status->text(), u"Press 'Continue' to acknowledge this error and continue."_s);
    });
}

TEST_F(DialogTest, PrintWithoutAPrinterOffersAPdf)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "this machine has a printer";
    writeSettings(u"[preferences]\r\nForce System Info=1\r\n"_s);
    int asked = 0;
    host_->setPdfPathChooser([&](QWidget*) { return ++asked == 1 ? app_.file(u"page.pdf"_s) : QString(); });
    showError([&](FailSafeDialog& d) {
        d.chooseView(FailSafeDialog::CallTreeView);
        EXPECT_EQ(d.printableText(FailSafeDialog::CallTreeView).split(u'\n').size(), 3);
        control<QPushButton>(d, "fsPrint")->click();
        control<QPushButton>(d, "fsPrint")->click();  // declined this time
    });
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(app_.read(u"page.pdf"_s).startsWith("%PDF"));
}

}  // namespace
}  // namespace vm::failsafe::gui
