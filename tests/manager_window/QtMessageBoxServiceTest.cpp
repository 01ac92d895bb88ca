// The message boxes on screen answer with the button the operator takes; a
// box closed without one answers as its OK or Cancel would.
#include "manager_window/QtMessageBoxService.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace vm::manager_window {
namespace {

TEST(QtMessageBoxService, AnswersWithTheButtonTaken)
{
    const auto key = [](Qt::Key k) { return [k](QMessageBox* box) { QTest::keyClick(box, k); }; };
    const struct {
        MsgButtons buttons;
        std::function<void(QMessageBox*)> take;
        MsgAnswer answer;
    } cases[] = {
        {MsgButtons::OkOnly, key(Qt::Key_Return), MsgAnswer::Ok},
        {MsgButtons::OkOnly, key(Qt::Key_Escape), MsgAnswer::Ok},
        {MsgButtons::YesNoCancel, key(Qt::Key_Return), MsgAnswer::Yes},
        {MsgButtons::YesNoCancel, [](QMessageBox* box) { box->button(QMessageBox::No)->click(); }, MsgAnswer::No},
        {MsgButtons::YesNoCancel, key(Qt::Key_Escape), MsgAnswer::Cancel},
    };
    for (const auto& c : cases) {
        QTimer::singleShot(0, [&] { c.take(qobject_cast<QMessageBox*>(QApplication::activeModalWidget())); });
        EXPECT_EQ(QtMessageBoxService().show(QStringLiteral("text"), c.buttons, QStringLiteral("caption")), c.answer);
    }
}

}  // namespace
}  // namespace vm::manager_window
