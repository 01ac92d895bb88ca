// Working the window from the keyboard and with a screen reader: what the
// mouse does, keys do too, and nothing secret is shown.
#include "WindowTestSupport.h"

#include "manager_window/HtmlHelpQvLib.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

using namespace vm::test;
using vm::manager_window::MsgAnswer;

namespace {

class AccessTest : public WindowTest {};

// Each key runs the command its button or a double-click runs, questions and all.
TEST_F(AccessTest, ReturnDeleteAndF1RunTheirCommands)
{
    static QStringList opened;
    const auto scope = vm::manager_window::helpOpener().replace(
        [](const QString& path) { return opened << path, true; });
    folder.write(QStringLiteral("qv.chm"), "ITSF");
    folder.write(QStringLiteral("data/VmBoxList.xml"), mailboxFile({mailboxLine("12", "1212"), mailboxLine("7", "7")}));
    message(QStringLiteral("12_0101000000_1_1_.wav"), 11025);
    auto& w = load();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    clickBox(1);
    clickMessage(1);
    boxes.answers = {MsgAnswer::No, MsgAnswer::No};
    QTest::keyClick(boxList(), Qt::Key_Delete);
    QTest::keyClick(messageList(), Qt::Key_Delete);
    EXPECT_EQ(shownBoxes(),
              QStringList({"Quorvane Voicemail Manager|YNC|Are you sure you want to delete mailbox 12 ?",
                           "Quorvane Voicemail Manager|YNC|Are you sure you want to delete this message ?"}));
    QTest::keyClick(&w, Qt::Key_F1);
    EXPECT_EQ(opened, QStringList{folder.file(QStringLiteral("qv.chm"))});
    QTest::keyClick(boxList(), Qt::Key_Return);
    EXPECT_EQ(tabs()->tab(), 1);
    EXPECT_EQ(ui<vm::widgets::TextBox>("txtNewVmb", 1)->text(), QStringLiteral("1212"));
}

TEST_F(AccessTest, TabFollowsTheReadingOrderOfEveryTab)
{
    auto& w = load();
    QStringList order;
    for (QWidget* next = w.nextInFocusChain(); next != &w; next = next->nextInFocusChain())
        if ((next->focusPolicy() & Qt::TabFocus) && !next->isHidden())
            order << next->objectName();
    EXPECT_EQ(order.join(u' ').toStdString(),
              "SSTab1 qt_tabwidget_tabbar gridVmbList cmdVmbModify cmdDeleteVmb cmdRecIntro cmdPlayIntro "
              "cmdStopPlay(0) gridMsgList cmdDeleteMsg cmdRecMsg cmdPlayMsg cmdStopPlay(1) "
              "txtNewVmb(0) txtNewVmb(1) txtNewVmb(7) txtNewVmb(2) txtNewVmb(4) txtNewVmb(5) txtNewVmb(6) "
              "txtNewVmb(3) txtNewVmb(8) chkUploadToFtp chkDeleteAfterForward cmdPrev cmdNext cmdVmbAdd "
              "Text1(0) Text1(1) Text1(2) txtStats(0) txtStats(1) txtStats(2) txtStats(3) "
              "txtEmailSubject txtEmailBody optEmailMechanism(2) optEmailMechanism(1) txtSmtpMailHost "
              "txtSmtpEmailAddress txtSmtpLoginName txtSmtpLoginPassword "
              "txtFtpServer txtFtpDir txtFtpUser txtFtpPassword txtRunCommand cmdVmCfgHelp cmdVmCfgExit(2)");
    // Tab leaves the e-mail body, which would otherwise keep the keyboard.
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    tabs()->setTab(3);
    auto* body = ui<QPlainTextEdit>("txtEmailBody");
    body->setFocus();
    QTest::keyClick(body, Qt::Key_Tab);
    EXPECT_EQ(body->toPlainText().count(u'\t'), 0);
    EXPECT_FALSE(body->hasFocus());
}

// Typed digits select the first box whose number starts with them, as a click
// on its row would; a number no box has leaves the selection; after a pause
// the typing starts afresh.
TEST_F(AccessTest, TypingANumberSelectsTheFirstBoxStartingWithIt)
{
    QByteArrayList lines;
    for (int id = 1; id <= 32768; ++id)
        if (id != 47)
            lines << mailboxLine(QString::number(id), QStringLiteral("1"));
    folder.write(QStringLiteral("data/VmBoxList.xml"), mailboxFile(lines));
    message(QStringLiteral("470_0101000000_1_1_555.wav"), 11025);
    load();
    const auto selectedBox = [this] { return boxList()->textMatrix(boxList()->row(), 0); };
    QTest::keyClicks(boxList(), QStringLiteral("47"));
    EXPECT_EQ(selectedBox().toStdString(), "470");
    EXPECT_EQ(column(*messageList(), 3), QStringList{"555"});
    EXPECT_TRUE(ui<QPushButton>("cmdDeleteVmb")->isEnabled());
    const auto afterAPause = [this](const char* keys) {
        QTest::qWait(QApplication::keyboardInputInterval() + 100);
        QTest::keyClicks(boxList(), QLatin1String(keys));
    };
    afterAPause("0");
    EXPECT_EQ(selectedBox().toStdString(), "470");
    afterAPause("3");
    EXPECT_EQ(selectedBox().toStdString(), "3");
    EXPECT_EQ(column(*messageList(), 0), QStringList{"No Messages"});
}

// On every tab, each control a screen reader can reach has a name, and no
// two controls share one (a field without its caption would take its
// frame's title). Neither password shows what it holds.
TEST_F(AccessTest, EveryFocusableControlHasANameOfItsOwn)
{
    load();
    for (const char* name : {"txtSmtpLoginPassword", "txtFtpPassword"})
        EXPECT_EQ(ui<vm::widgets::TextBox>(name)->echoMode(), QLineEdit::Password) << name;
    for (int tab = 0; tab < 5; ++tab) {
        tabs()->setTab(tab);
        QStringList unnamed;
        QStringList names;
        std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
            const QAccessible::State state = node->state();
            const QString control = node->object() ? node->object()->objectName() : QString();
            if (state.focusable && !state.invisible) {
                const QString name = node->text(QAccessible::Name);
                if (name.isEmpty())
                    unnamed << control;
                else if (!control.isEmpty() && !control.startsWith(QLatin1String("qt_")))  // not a tab
                    names << name;
            }
            if (node->role() != QAccessible::Table)  // a list's rows are its content, not controls
                for (int i = 0; i < node->childCount(); ++i)
                    walk(node->child(i));
        };
        walk(QAccessible::queryAccessibleInterface(win.get()));
        EXPECT_EQ(unnamed.join(u'|').toStdString(), "") << "tab " << tab;
        const QStringList all = names;
        names.removeDuplicates();
        EXPECT_EQ(all.join(u'|').toStdString(), names.join(u'|').toStdString()) << "tab " << tab;
    }
}

// Contrast ratio of two colours as the accessibility guidelines measure it:
// 1 for the same lightness, 21 for black on white.
double contrast(QRgb a, QRgb b)
{
    const auto luminance = [](QRgb c) {
        const auto linear = [](int v) {
            const double s = v / 255.0;
            return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Under a dark theme, on a picture of the window as shown, at least a fifth of
// each picture's pixels stand out from the colour around it by the contrast
// graphics need (3:1).
TEST_F(AccessTest, EveryPictureStandsOutOnADarkTheme)
{
    folder.write(QStringLiteral("data/VmBoxList.xml"), mailboxFile({mailboxLine("12", "1212")}));
    folder.write(QStringLiteral("data/VmWelc/12.wav"), "RIFF");
    message(QStringLiteral("12_0101000000_1_1_.wav"), 11025);
    auto& w = load();
    QPalette dark;
    for (const auto role : {QPalette::Window, QPalette::Button, QPalette::Base})
        dark.setColor(role, QColor(50, 50, 52));
    for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        dark.setColor(role, QColor(230, 230, 230));
    w.setPalette(dark);
    clickBox(1);
    clickMessage(1);
    QStringList faint;
    int pictures = 0;
    for (int tab = 0; tab < 5; ++tab) {
        tabs()->setTab(tab);
        const QImage shot = w.grab().toImage();
        for (QWidget* control : w.findChildren<QWidget*>()) {
            const auto* label = qobject_cast<QLabel*>(control);
            const auto* button = qobject_cast<QPushButton*>(control);
            const QPixmap picture = label    ? label->pixmap()
                                    : button ? button->icon().pixmap(button->iconSize())
                                             : QPixmap();
            if (picture.isNull() || !control->isVisible())
                continue;
            ++pictures;
            // The background is the commonest colour around the picture.
            const QRect place(control->mapTo(&w, QPoint()), control->size());
            QRect at(QPoint(), picture.deviceIndependentSize().toSize());
            at.moveCenter(place.center());
            std::map<QRgb, int> colours;
            for (int y = place.top(); y <= place.bottom(); ++y)
                for (int x = place.left(); x <= place.right(); ++x)
                    colours[shot.pixel(x, y)] += at.contains(x, y) ? 0 : 1;
            const QRgb background = std::max_element(colours.begin(), colours.end(), [](auto a, auto b) {
                                        return a.second < b.second;
                                    })->first;
            const QImage drawn = picture.toImage();
            int shown = 0, standing = 0;
            for (int y = 0; y < at.height(); ++y)
                for (int x = 0; x < at.width(); ++x)
                    if (qAlpha(drawn.pixel(x, y)) > 128) {
                        ++shown;
                        standing += contrast(shot.pixel(at.topLeft() + QPoint(x, y)), background) >= 3.0;
                    }
            if (standing * 5 < shown)
                faint << control->objectName();
        }
    }
    EXPECT_EQ(faint.join(u' ').toStdString(), "");
    EXPECT_EQ(pictures, 15);
}

}  // namespace
