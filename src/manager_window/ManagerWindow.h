#pragma once
// ManagerWindow: the Voicemail Manager's one working window, object name
// "frmVmailCfg". A tab control with five tabs (mailbox and message lists;
// add / modify a box; length limits and statistics; e-mail forwarding; FTP
// upload and post-recording command) and the Help and Exit buttons below it.
//
// Controls (WindowControls.h, private) and handlers keep the names the window
// was designed with; a control's object name is its design name. Each
// handler runs traced and error-trapped through vm::failsafe::runTraced.
// The handlers are spread over one source file per area:
//   WindowShell.cpp      load, tab change, Exit, Help, close
//   MailboxListView.cpp  mailbox list, box selection, message clicks, button groups
//   MessageList.cpp      the messages the message list shows, row by row (no widgets)
//   MessageStats.cpp     the statistics
//   MailboxEditing.cpp   add / modify / browse / delete boxes
//   SettingsTabs.cpp     length limits, e-mail mechanism, save on unload
//   MessageCommands.cpp  playback, recording and deletion of messages and greetings
//   MessageContextMenu.cpp  the message list's context menu: listen, save a copy, copy to a box, mark, find
//   MessageMenu.cpp      the menu of message commands every view of messages shares
//   MessageActions.cpp   the message commands those views share
//   FindMessages.cpp     the find window: every message of the folder, filtered and ordered
//   FoundMessages.cpp    the find window's results, a table model
//   MessagePlayer.cpp    the player a message is listened to in
//   WindowLayout.cpp     building the controls
//   KeyboardAccess.cpp   keys for the commands, finding a box by typing its number
//   Accessibility.cpp    the names a screen reader gives the controls
//   WindowGeometry.cpp   the controls following a window larger than designed
//   IncompleteStart.cpp  what a start-up could not take, and the copies kept at the close after one

#include "IncompleteStart.h"
#include "MessageList.h"

#include "config/Settings.h"
#include "mailbox/MailboxTable.h"
#include "mailbox/MessageForward.h"

#include "platform/VbNumbers.h"

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QMessageBox;

namespace vm::mailbox {
struct BoxField;
}  // namespace vm::mailbox

namespace vm::manager_window {

class DialogService;
class FindMessages;
class MessageBoxService;
class MessagePlayer;
struct MessageFile;
struct WindowControls;

// Module name in the trace of every procedure of this window.
inline const QString kModule = QStringLiteral("frmVmailCfg.frm");

class ManagerWindow : public QWidget {
    Q_OBJECT
public:
    explicit ManagerWindow(QWidget* parent = nullptr);
    ~ManagerWindow() override;

    // The message boxes in force, else the window's own (QMessageBox).
    MessageBoxService& messageBoxes();
    // The file and text prompts in force, else the window's own (QFileDialog, QInputDialog).
    static DialogService& dialogs();
    // Says that `file` was deleted for good since no trash took it (`why`):
    // once in the window's life, as what follows likely fares the same.
    void tellDeletedForGood(const QString& file, const QString& why);

    // --- window shell ---
    void Form_Load();
    void SSTab1_Click(std::int16_t& PreviousTab);
    void cmdVmCfgExit_Click(std::int16_t Index);
    void cmdVmCfgHelp_Click();

    // --- mailbox and message lists ---
    void gridVmbList_SelChange();
    void gridMsgList_MouseDown(std::int16_t Button, std::int16_t Shift, float x, float Y);
    void gridVmbList_DblClick();
    void BtnsDisableMsg();
    void BtnsEnableMsg();
    void BtnsDisableVmb();
    void BtnsEnableVmb();

    // --- statistics ---
    void GetMessageStats(std::int16_t& iMsgCountNew, std::int16_t& iMsgCountSaved, std::int32_t& lTotalTimeMins,
                         std::int32_t& lAvailMin);

    // --- message and greeting playback, recording and deletion ---
    void cmdPlayMsg_Click();
    void cmdRecMsg_Click();
    void cmdDeleteMsg_Click();
    void cmdplayIntro_Click();
    void cmdRecIntro_Click();
    void cmdStopPlay_Click(std::int16_t Index);

    // --- the message list's context menu (its Play and Delete are the buttons' commands) ---
    void mnuMsgSaveCopy_Click();
    void mnuMsgCopyToBox_Click();
    void mnuMsgMarkNew_Click();
    void mnuMsgMarkSaved_Click();
    void mnuMsgListen_Click();
    void mnuMsgFind_Click();  // also Ctrl+F
    void mnuMsgForward_Click();

    // --- for the find window ---
    // Opens the player on `message` (one player, which takes the new message).
    void listen(const ListedMessage& message);
    // Selects box `box` in the mailbox list, which lists its messages as a
    // selection by the operator does, and then the message `file` in the
    // message list, as a click on it does. What could not be done, in words;
    // empty when both were.
    QString showMessage(const QString& box, const QString& file);
    // The find window changed messages of `boxes`: the message list is listed
    // again when it shows one of them.
    void boxMessagesChanged(const QStringList& boxes);

    // --- mailbox editing ---
    void cmdVmbAdd_Click();
    void cmdVmbModify_Click();
    void cmdNext_Click();
    void cmdPrev_Click();
    void cmdDeleteVmb_Click();
    void txtNewVmb_Change(std::int16_t Index);
    void txtNewVmb_GotFocus(std::int16_t Index);
    QString Text2VmbId(const QString& strIn);
    QString Text2VmbPin(const QString& strIn);

    // --- settings tabs ---
    void Text1_LostFocus(std::int16_t Index);
    void optEmailMechanism_Click(std::int16_t Index);
    void Form_Unload(std::int16_t& Cancel);
    // How a message is forwarded by hand: the Email tab's method and template as its fields show them now.
    mailbox::ForwardSettings forwardSettings() const;

    // The mailboxes as the window holds them: loaded at Form_Load, written at the close.
    // A seam for observers only (the soak test and the start-up benchmark compare it with the
    // files); nothing in the program needs to read it from outside.
    const mailbox::MailboxTable& mailboxes() const { return boxes_; }
    // The messages the message list shows, row by row; a seam for observers likewise.
    const MessageList& messages() const { return messages_; }

    // True once Form_Unload has run (the window is closed).
    bool unloaded() const { return unloaded_; }

    // What the last load could not take; nothing after a complete start-up.
    const IncompleteStart& incompleteStart() const { return incompleteStart_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The text the Add / Modify tab holds for a box's field.
    QString fieldText(const mailbox::BoxField& field) const;
    // MailboxEditing.cpp: loads the box `step` entries after the one in the fields (before, when negative).
    void browseBy(int step);

    // WindowLayout.cpp
    // Each tab's controls are placed in twips from the tab control's top
    // left corner; `origin` is where the tab's page lies in it, in pixels.
    void buildControls();
    void buildMailboxesTab(QWidget* page, QPoint origin);
    void buildAddModifyTab(QWidget* page, QPoint origin);
    void buildConfigStatsTab(QWidget* page, QPoint origin);
    void buildEmailTab(QWidget* page, QPoint origin);
    void buildFtpCmdTab(QWidget* page, QPoint origin);
    void connectEvents();
    void nameControls();  // object names are the design names, for finding controls by name

    // KeyboardAccess.cpp
    void setUpKeyboard();
    // Accessibility.cpp
    void nameForScreenReaders();
    // WindowGeometry.cpp
    void setUpResizing();

    // MailboxListView.cpp
    void rebuildMailboxList();
    void listMessages(const QString& id, const std::vector<MessageFile>& files);
    void showNoMessagesRow();
    // A click's work on the message list's current row: the previous row gets
    // its icon back, this one is highlighted and becomes the last one clicked.
    void highlightMessageRow();

    // SettingsTabs.cpp
    // Writes the table to the list file, sorting it first; a table without
    // boxes leaves the file untouched. Failures raise run-time errors.
    void VmbSaveXML();

    // MessageCommands.cpp
    QString selectedBoxNumber();
    void turnLastMessageRowIntoNoMessagesRow();

    // MessageContextMenu.cpp
    void buildMessageMenu();
    void showMessageMenu(const QPoint& at);
    QStringList selectedMessageNames() const;
    // Lists the box again, the messages `select` selected.
    void relistMessages(const QStringList& select);

    // WindowShell.cpp
    // Tells the operator, without holding the window up, what the start-up
    // could not take (once, after the window is first shown).
    void tellIncompleteStart();

    const std::unique_ptr<WindowControls> ui_;
    mailbox::MailboxTable boxes_;
    MessageList messages_;                // what the message list shows, row by row
    config::Settings settings_;           // as loaded at Form_Load; the limits follow their fields
    QString sSelectedVmbId;               // Id of the box last selected in the mailbox list
    vm::platform::Int16 iLastMsgRow = 0;  // message row last clicked; -1 none
    vm::platform::Int16 iCurVmbIdx = 0;   // table index of the box last loaded into the fields

    std::unique_ptr<MessageBoxService> ownBoxes_;
    IncompleteStart incompleteStart_;
    QPointer<QMessageBox> incompleteStartNotice_;
    QPointer<FindMessages> findWindow_;
    QPointer<MessagePlayer> player_;
    bool incompleteStartTold_ = false;
    bool deletedForGoodTold_ = false;
    bool unloading_ = false;
    bool unloaded_ = false;
};

}  // namespace vm::manager_window
