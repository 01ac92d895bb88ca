#pragma once
// The controls of the manager window, by the names the window was designed
// with. Only the window's own source files include this header: everything
// else, tests included, finds a control by its object name.

#include "widgets/StatusImages.h"

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace vm::widgets {
class FlexGrid;
class TabControl;
class TextBox;
}  // namespace vm::widgets

namespace vm::manager_window {

// The message list's last column, hidden and empty: the current cell rests
// there out of sight, and a message row's selection reaches it so that the
// whole row shows highlighted.
inline constexpr int kMsgListRestCol = 4;

struct WindowControls {
    widgets::TabControl* SSTab1 = nullptr;
    QPushButton* cmdVmCfgHelp = nullptr;
    QPushButton* cmdVmCfgExit = nullptr;  // element 2 of its control array
    widgets::StatusImages imgSndStatus;

    // Tab 0 "Mailboxes "
    std::array<QLabel*, 5> Label1{};
    std::array<QLabel*, 3> lblMsgCount{};  // 0 new, 1 saved, 2 boxes
    widgets::FlexGrid* gridVmbList = nullptr;
    widgets::FlexGrid* gridMsgList = nullptr;  // icon, date, length, caller, kMsgListRestCol
    QPushButton* cmdVmbModify = nullptr;
    QPushButton* cmdDeleteVmb = nullptr;
    QPushButton* cmdRecIntro = nullptr;
    QPushButton* cmdPlayIntro = nullptr;
    std::array<QPushButton*, 2> cmdStopPlay{};  // 0 greeting, 1 message
    QPushButton* cmdDeleteMsg = nullptr;
    QPushButton* cmdRecMsg = nullptr;
    QPushButton* cmdPlayMsg = nullptr;
    QMenu* mnuMsgList = nullptr;  // the message list's context menu

    // Tab 1 "Add / Modify"
    std::array<QGroupBox*, 7> frmMisc{};
    QLabel* Image2 = nullptr;  // decorative pictures, no behaviour
    std::array<widgets::TextBox*, 9> txtNewVmb{};
    QCheckBox* chkUploadToFtp = nullptr;
    QCheckBox* chkDeleteAfterForward = nullptr;
    QLabel* lblAddedOK = nullptr;
    QPushButton* cmdVmbAdd = nullptr;
    QPushButton* cmdPrev = nullptr;
    QPushButton* cmdNext = nullptr;

    // Tab 2 "Config / Stats"; tabs 2 to 4 carry Image1(0) to Image1(3)
    std::array<QLabel*, 4> Image1{};
    std::array<widgets::TextBox*, 3> Text1{};
    std::array<widgets::TextBox*, 4> txtStats{};

    // Tab 3 "Email "
    std::array<QRadioButton*, 3> optEmailMechanism{};  // elements 1 (MAPI) and 2 (SMTP)
    std::array<QLabel*, 3> lblSmtpDesc{};
    widgets::TextBox* txtSmtpMailHost = nullptr;
    widgets::TextBox* txtSmtpEmailAddress = nullptr;
    widgets::TextBox* txtSmtpLoginName = nullptr;
    widgets::TextBox* txtSmtpLoginPassword = nullptr;
    widgets::TextBox* txtEmailSubject = nullptr;
    QPlainTextEdit* txtEmailBody = nullptr;

    // Tab 4 "FTP / Cmd"
    widgets::TextBox* txtFtpServer = nullptr;
    widgets::TextBox* txtFtpDir = nullptr;
    widgets::TextBox* txtFtpUser = nullptr;
    widgets::TextBox* txtFtpPassword = nullptr;
    widgets::TextBox* txtRunCommand = nullptr;
};

}  // namespace vm::manager_window
