// The video lines with a running GUI: the screen provider registered as the
// application does it.
#include "failsafe/SystemInfo.h"

#include "platform/ScreenDisplayInfo.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

namespace vm::platform {
namespace {

TEST(SystemInfoScreen, ReportShowsTheScreenOfTheRunningDisplay)
{
    const auto scope = displayInfoProvider().replace(&screenDisplayInfo);
    const std::optional<DisplayInfo> info = screenDisplayInfo();
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->bitsPerPixel > 0 && info->width > 0 && info->height > 0 && info->monitors >= 1);

    const QString report = failsafe::buildSystemInfoReport(systemQuery(), true);
    const QString size = QString::number(info->width) + QStringLiteral(" x ") + QString::number(info->height);
    EXPECT_TRUE(report.contains(QStringLiteral("\r\n   Screen size..............") + size + QStringLiteral("\r\n")));
    EXPECT_FALSE(report.contains(QLatin1String("\r\n   Colors.......................\r\n")));
    EXPECT_TRUE(report.contains(QLatin1String("\r\n   Mouse Present.......Yes\r\n")));
    EXPECT_TRUE(report.contains(QLatin1String("\r\n   Mouse Wheel.......Yes\r\n")));
}

}  // namespace
}  // namespace vm::platform
