// The window's geometry: every control where it was designed at the design
// size, the lists growing with a larger window, and the size the operator
// left it at found again at the next start.
#include "WindowTestSupport.h"

#include <QWidget>

#include <map>

using namespace vm::test;

namespace {

class GeometryTest : public WindowTest {};

// Every named control's rectangle in its parent, at the design size on a
// 96-dpi screen: a change of any layout code shows here first.
TEST_F(GeometryTest, AtTheDesignSizeEveryControlIsWhereItWasDesigned)
{
    // clang-format off
    static const std::map<QString, QRect> designed = {
        {"Image1(0)", {6, 15, 40, 36}},
        {"Image1(1)", {6, 15, 40, 36}},
        {"Image1(2)", {6, 15, 40, 36}},
        {"Image1(3)", {287, 15, 40, 36}},
        {"Image2", {6, 15, 40, 36}},
        {"Label1(0)", {6, 27, 153, 17}},
        {"Label1(1)", {262, 211, 45, 17}},
        {"Label1(2)", {6, 211, 192, 17}},
        {"Label1(3)", {206, 211, 37, 17}},
        {"Label1(4)", {222, 27, 81, 17}},
        {"SSTab1", {5, 8, 337, 409}},
        {"Text1(0)", {200, 22, 44, 20}},
        {"Text1(1)", {200, 50, 44, 20}},
        {"Text1(2)", {200, 78, 44, 20}},
        {"chkDeleteAfterForward", {168, 228, 144, 19}},
        {"chkUploadToFtp", {8, 228, 152, 19}},
        {"cmdDeleteMsg", {222, 355, 24, 23}},
        {"cmdDeleteVmb", {222, 171, 24, 23}},
        {"cmdNext", {40, 278, 24, 23}},
        {"cmdPlayIntro", {278, 171, 24, 23}},
        {"cmdPlayMsg", {278, 355, 24, 23}},
        {"cmdPrev", {8, 278, 24, 23}},
        {"cmdRecIntro", {254, 171, 24, 23}},
        {"cmdRecMsg", {254, 355, 24, 23}},
        {"cmdStopPlay(0)", {302, 171, 24, 23}},
        {"cmdStopPlay(1)", {302, 355, 24, 23}},
        {"cmdVmCfgExit(2)", {261, 424, 81, 25}},
        {"cmdVmCfgHelp", {173, 424, 81, 25}},
        {"cmdVmbAdd", {168, 277, 144, 25}},
        {"cmdVmbModify", {6, 171, 72, 23}},
        {"frmMisc(0)", {6, 55, 321, 329}},
        {"frmMisc(1)", {6, 55, 321, 113}},
        {"frmMisc(2)", {6, 175, 321, 129}},
        {"frmMisc(3)", {6, 55, 321, 177}},
        {"frmMisc(4)", {6, 55, 321, 129}},
        {"frmMisc(5)", {6, 191, 321, 161}},
        {"frmMisc(6)", {6, 279, 321, 105}},
        {"frmVmailCfg", {0, 0, 348, 456}},
        {"gridMsgList", {6, 227, 321, 121}},
        {"gridVmbList", {6, 43, 321, 121}},
        {"lblAddedOK", {8, 254, 304, 19}},
        {"lblMsgCount(0)", {243, 211, 19, 17}},
        {"lblMsgCount(1)", {307, 211, 27, 17}},
        {"lblMsgCount(2)", {310, 27, 25, 17}},
        {"lblSmtpDesc(0)", {8, 84, 112, 17}},
        {"lblSmtpDesc(1)", {8, 110, 112, 17}},
        {"lblSmtpDesc(2)", {8, 136, 112, 17}},
        {"optEmailMechanism(1)", {8, 46, 304, 32}},
        {"optEmailMechanism(2)", {8, 20, 304, 20}},
        {"txtEmailBody", {64, 46, 248, 75}},
        {"txtEmailSubject", {64, 20, 248, 20}},
        {"txtFtpDir", {96, 90, 216, 20}},
        {"txtFtpPassword", {96, 146, 216, 20}},
        {"txtFtpServer", {96, 62, 216, 20}},
        {"txtFtpUser", {96, 118, 216, 20}},
        {"txtNewVmb(0)", {168, 20, 60, 20}},
        {"txtNewVmb(1)", {264, 20, 48, 20}},
        {"txtNewVmb(2)", {168, 72, 144, 20}},
        {"txtNewVmb(3)", {168, 176, 144, 20}},
        {"txtNewVmb(4)", {168, 98, 144, 20}},
        {"txtNewVmb(5)", {168, 124, 144, 20}},
        {"txtNewVmb(6)", {168, 150, 144, 20}},
        {"txtNewVmb(7)", {168, 46, 144, 20}},
        {"txtNewVmb(8)", {168, 202, 144, 20}},
        {"txtRunCommand", {96, 68, 216, 20}},
        {"txtSmtpEmailAddress", {120, 108, 192, 20}},
        {"txtSmtpLoginName", {120, 134, 92, 20}},
        {"txtSmtpLoginPassword", {220, 134, 92, 20}},
        {"txtSmtpMailHost", {120, 82, 192, 20}},
        {"txtStats(0)", {200, 22, 44, 20}},
        {"txtStats(1)", {200, 48, 44, 20}},
        {"txtStats(2)", {200, 74, 44, 20}},
        {"txtStats(3)", {200, 100, 44, 20}},
    };
    // clang-format on
    auto& w = load();
    std::map<QString, QRect> found = {{w.objectName(), w.rect()}};
    for (const QWidget* control : w.findChildren<QWidget*>())
        if (!control->isHidden() && !control->objectName().isEmpty() && !control->objectName().startsWith(u"qt_"))
            found[control->objectName()] = control->geometry();
    QString moved;
    for (const auto& [name, rect] : found)
        if (designed.count(name) == 0 || designed.at(name) != rect)
            moved += QStringLiteral("        {\"%1\", {%2, %3, %4, %5}},\n")
                         .arg(name)
                         .arg(rect.x())
                         .arg(rect.y())
                         .arg(rect.width())
                         .arg(rect.height());
    EXPECT_EQ(moved.toStdString(), "");
    EXPECT_EQ(found.size(), designed.size());
}

}  // namespace
