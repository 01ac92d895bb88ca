// At 200% every picture of the window (tab pictures, button glyphs, message
// status icons) is drawn from twice the pixels, not from an enlarged 100%
// bitmap.
#include "manager_window/ManagerWindow.h"
#include "widgets/StatusImages.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

// Qt takes the scale factor once, when the application starts: the test
// runs itself again in a process started at 200%.
bool runAgainAt200Percent()
{
    if (qApp->devicePixelRatio() == 2.0)
        return false;
    if (qEnvironmentVariable("QT_SCALE_FACTOR") == QStringLiteral("2")) {
        ADD_FAILURE() << "QT_SCALE_FACTOR=2 did not scale the screen";
        return true;
    }
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    child.start(QApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
    EXPECT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
    return true;
}

TEST(WindowAt200Percent, PicturesHaveTwiceThePixels)
{
    if (runAgainAt200Percent())
        return;
    vm::manager_window::ManagerWindow window;

    // Five pictures on labels, ten glyphs on buttons; any drawn from fewer pixels is named.
    QStringList enlarged;
    int pictures = 0, glyphs = 0;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        const QPixmap picture = label->pixmap();
        if (!picture.isNull() && ++pictures &&
            (picture.devicePixelRatio() != 2.0 || picture.deviceIndependentSize() != QSizeF(32, 32)))
            enlarged << label->objectName();
    }
    for (const QPushButton* button : window.findChildren<QPushButton*>())
        if (!button->icon().isNull() && ++glyphs &&
            button->icon().pixmap(button->iconSize(), 2.0).size() != button->iconSize() * 2)
            enlarged << button->objectName();
    EXPECT_EQ(enlarged, QStringList());
    EXPECT_EQ(pictures, 5);
    EXPECT_EQ(glyphs, 10);

    for (const int element : {0, 1}) {
        const QPixmap status = vm::widgets::StatusImages().picture(element);
        EXPECT_EQ(status.devicePixelRatio(), 2.0) << element;
        EXPECT_EQ(status.deviceIndependentSize(), QSizeF(16, 15)) << element;
    }
}

}  // namespace
