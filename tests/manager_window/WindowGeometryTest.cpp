// The window's geometry: every control where it was designed at the design
// size, the lists growing with a larger window, and the size the operator
// left it at found again at the next start.
#include "WindowTestSupport.h"

#include "manager_window/WindowPlacement.h"

#include <QTemporaryDir>
#include <QWidget>

#include <map>

using namespace vm::test;

namespace {

class GeometryTest : public WindowTest {};

// Every named control's rectangle in its parent, at the design size on a
// 96-dpi screen: a change of any layout code shows here first.
TEST_F(GeometryTest, AtTheDesignSizeEveryControlIsWhereItWasDesigned)
{
    // name left top width height; ...
    static const QString designed = QStringLiteral(
        "Image1(0) 6 15 40 36; Image1(1) 6 15 40 36; Image1(2) 6 15 40 36; Image1(3) 287 15 40 36; "
        "Image2 6 15 40 36; Label1(0) 6 27 153 17; Label1(1) 262 211 45 17; Label1(2) 6 211 192 17; "
        "Label1(3) 206 211 37 17; Label1(4) 222 27 81 17; SSTab1 5 8 337 409; Text1(0) 200 22 44 20; "
        "Text1(1) 200 50 44 20; Text1(2) 200 78 44 20; chkDeleteAfterForward 168 228 144 19; "
        "chkUploadToFtp 8 228 152 19; cmdDeleteMsg 222 355 24 23; cmdDeleteVmb 222 171 24 23; "
        "cmdNext 40 278 24 23; cmdPlayIntro 278 171 24 23; cmdPlayMsg 278 355 24 23; cmdPrev 8 278 24 23; "
        "cmdRecIntro 254 171 24 23; cmdRecMsg 254 355 24 23; cmdStopPlay(0) 302 171 24 23; "
        "cmdStopPlay(1) 302 355 24 23; cmdVmCfgExit(2) 261 424 81 25; cmdVmCfgHelp 173 424 81 25; "
        "cmdVmbAdd 168 277 144 25; cmdVmbModify 6 171 72 23; frmMisc(0) 6 55 321 329; "
        "frmMisc(1) 6 55 321 113; frmMisc(2) 6 175 321 129; frmMisc(3) 6 55 321 177; "
        "frmMisc(4) 6 55 321 129; frmMisc(5) 6 191 321 161; frmMisc(6) 6 279 321 105; "
        "frmVmailCfg 0 0 348 456; gridMsgList 6 227 321 121; gridVmbList 6 43 321 121; "
        "lblAddedOK 8 254 304 19; lblMsgCount(0) 243 211 19 17; lblMsgCount(1) 307 211 27 17; "
        "lblMsgCount(2) 310 27 25 17; lblSmtpDesc(0) 8 84 112 17; lblSmtpDesc(1) 8 110 112 17; "
        "lblSmtpDesc(2) 8 136 112 17; optEmailMechanism(1) 8 46 304 32; optEmailMechanism(2) 8 20 304 20; "
        "txtEmailBody 64 46 248 75; txtEmailSubject 64 20 248 20; txtFtpDir 96 90 216 20; "
        "txtFtpPassword 96 146 216 20; txtFtpServer 96 62 216 20; txtFtpUser 96 118 216 20; "
        "txtNewVmb(0) 168 20 60 20; txtNewVmb(1) 264 20 48 20; txtNewVmb(2) 168 72 144 20; "
        "txtNewVmb(3) 168 176 144 20; txtNewVmb(4) 168 98 144 20; txtNewVmb(5) 168 124 144 20; "
        "txtNewVmb(6) 168 150 144 20; txtNewVmb(7) 168 46 144 20; txtNewVmb(8) 168 202 144 20; "
        "txtRunCommand 96 68 216 20; txtSmtpEmailAddress 120 108 192 20; txtSmtpLoginName 120 134 92 20; "
        "txtSmtpLoginPassword 220 134 92 20; txtSmtpMailHost 120 82 192 20; txtStats(0) 200 22 44 20; "
        "txtStats(1) 200 48 44 20; txtStats(2) 200 74 44 20; txtStats(3) 200 100 44 20");
    auto& w = load();
    const auto place = [](const QWidget& c) {
        return QStringLiteral("%1 %2 %3 %4 %5")
            .arg(c.objectName())
            .arg(c.x())
            .arg(c.y())
            .arg(c.width())
            .arg(c.height());
    };
    QStringList found = {place(w)};
    for (const QWidget* control : w.findChildren<QWidget*>())
        if (!control->isHidden() && !control->objectName().isEmpty() && !control->objectName().startsWith(u"qt_"))
            found << place(*control);
    found.sort();
    EXPECT_EQ(found.join(QStringLiteral("; ")).toStdString(), designed.toStdString());
}

// A larger window: how far each control's edges follow the extra width (200)
// and height (300). The lists share the height and take the width; the
// buttons keep their places beside them.
TEST_F(GeometryTest, EnlargingGrowsTheListsAndKeepsTheButtonsBesideThem)
{
    struct Follow {
        const char* control;
        int dx, dy, dw, dh;
    };
    static constexpr Follow follows[] = {
        {"SSTab1", 0, 0, 200, 300},         {"gridVmbList", 0, 0, 200, 150},    {"cmdVmbModify", 0, 150, 0, 0},
        {"cmdDeleteVmb", 200, 150, 0, 0},   {"cmdStopPlay(0)", 200, 150, 0, 0}, {"Label1(2)", 0, 150, 0, 0},
        {"lblMsgCount(1)", 200, 150, 0, 0}, {"lblMsgCount(2)", 200, 0, 0, 0},   {"gridMsgList", 0, 150, 200, 150},
        {"cmdDeleteMsg", 200, 300, 0, 0},   {"cmdStopPlay(1)", 200, 300, 0, 0}, {"txtEmailBody", 0, 0, 200, 300},
        {"frmMisc(5)", 0, 300, 0, 0},       {"txtNewVmb(0)", 0, 0, 0, 0},       {"cmdVmCfgExit(2)", 200, 300, 0, 0},
        {"Image1(3)", 0, 0, 0, 0},
    };
    auto& w = load();
    std::map<QString, QRect> before;
    for (const Follow& f : follows)
        before[f.control] = ui<QWidget>(f.control)->geometry();
    const QSize designed = w.size();
    const int comments = boxList()->columnWidth(2);
    w.resize(designed + QSize(200, 300));
    for (const Follow& f : follows)
        EXPECT_EQ(ui<QWidget>(f.control)->geometry(), before[f.control].adjusted(f.dx, f.dy, f.dx + f.dw, f.dy + f.dh))
            << f.control;
    EXPECT_EQ(boxList()->columnWidth(2), comments + 200);
    w.resize(100, 100);
    EXPECT_EQ(w.size(), designed);
}

// What the operator left is what the next start shows, where a screen still
// shows it.
TEST_F(GeometryTest, SizePositionAndMaximisingAreRestoredOnTheNextStart)
{
    const QTemporaryDir home;
    QSettings settings(home.filePath(QStringLiteral("user.conf")), QSettings::IniFormat);
    auto& first = load();
    const QSize designed = first.size();
    first.resize(designed + QSize(120, 80));
    first.move(30, 40);
    vm::manager_window::savePlacement(first, settings);
    first.close();

    vm::manager_window::ManagerWindow second;
    vm::manager_window::restorePlacement(second, settings);
    EXPECT_EQ(second.size(), designed + QSize(120, 80));
    EXPECT_EQ(second.pos(), QPoint(30, 40));

    settings.setValue(QStringLiteral("Window/Position"), QPoint(-30000, 50));  // a screen since taken away
    vm::manager_window::ManagerWindow third;
    vm::manager_window::restorePlacement(third, settings);
    EXPECT_EQ(third.size(), designed);

    settings.setValue(QStringLiteral("Window/Position"), QPoint(30, 40));
    settings.setValue(QStringLiteral("Window/Maximized"), true);
    vm::manager_window::ManagerWindow fourth;
    vm::manager_window::restorePlacement(fourth, settings);
    fourth.show();
    EXPECT_TRUE(fourth.isMaximized());
    EXPECT_GT(fourth.width(), designed.width());
}

}  // namespace
