#pragma once
// A plain model of the Voicemail Manager window for the soak test: what the
// window should show, what the disk should hold and what the window should
// have asked, played and started after each operator action. It is worked
// out from the behaviour the window promises and shares no code with it.
//
// Where more than one behaviour would do, the model follows the choices this
// program made: a box lists the messages named Id + "_" ...; adding looks the
// box up by its digits-only number; the delete and greeting commands take the
// box from column 0 of the current row; the "No Messages" row left by a
// delete is blank but for its first cell; a message click whose previous row
// no longer holds a message counts that row as none; a list raises its
// selection event only when an operator's press or key changes the selection.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <map>
#include <vector>

namespace vm::soak {

struct Box {
    QString id, pin, description, groups, emailForward, phoneForward, pagerNumber, pagerMessage, onReceive;
    int ftpUpload = 0;
    int deleteAfterForward = 0;
};

struct MessageFile {
    qint64 size = 0;
    QDateTime written;
    bool readOnly = false;  // deleting it fails
};

// A data row of the message list: cell texts of columns 0 to 4 and the
// status icon of column 0 (0 new, 1 saved, -1 none).
struct MessageRow {
    std::array<QString, 5> cells;
    int icon = -1;
};

// A message box the window should have shown.
struct Shown {
    QString text;
    bool question = false;  // Yes / No / Cancel, else OK only
    QString caption;
};

enum Button { RecIntro, PlayIntro, StopIntro, DeleteVmb, RecMsg, PlayMsg, StopMsg, DeleteMsg, kButtons };
enum class Answer { Yes, No, Cancel };

// The free-text settings fields of tabs 3 and 4 (the body included).
enum Setting {
    Subject,
    SmtpHost,
    SmtpAddress,
    LoginName,
    LoginPassword,
    FtpServer,
    FtpDir,
    FtpUser,
    FtpPassword,
    RunCommand,
    Body,
    kSettings
};
// Their INI keys in section "Voicemail" ("" when the field is not saved there).
QString settingKey(Setting s);

// The window's texts, worked out independently.
QString digitsOnly(const QString& text);
QString trimBlanks(const QString& text);
QString lengthText(qint64 bytes);
QString dateText(const QDateTime& written);
QString hoursText(int minutes);
void parseMessageName(const QString& name, QString& newMarker, QString& caller);
// A value as the INI reader gives it back: blanks around it and one pair of
// enclosing quotes removed.
QString iniReadBack(const QString& raw);
// The list file the window writes for these boxes (in `boxes` order when
// not `sorted`, as another program may have left it).
QByteArray listFileBytes(std::vector<Box> boxes, bool sorted = true);
bool idLess(const Box& a, const Box& b);

class SoakModel {
public:
    explicit SoakModel(const QString& appFolder);

    // --- what outlives a session ---
    QString appFolder;
    std::vector<Box> listRecords;             // the list file's records in file order
    QByteArray listFile;                      // its bytes; empty when there is none
    std::vector<Box> legacyRecords;           // the legacy list, imported and deleted at start-up
    QByteArray bodyFile;                      // e-mail body file; empty when there is none
    std::map<QString, MessageFile> messages;  // data/VmSave
    std::map<QString, QByteArray> greetings;  // data/VmWelc
    std::map<QString, QString> iniKeys;       // section "Voicemail", values as written
    QByteArray templateBytes;
    bool templatePresent = true;  // system/8pcm16m.wav, copied to start a recording
    bool helpFilePresent = false;

    // --- the window of the current session ---
    int tab = 0;
    std::vector<Box> table;                                    // VmbArray entries 1..N
    std::vector<std::array<QString, 3>> boxRows;               // the mailbox list (Id, PIN, comment)
    int boxRow = 0, boxCol = 3, boxRowSel = 0, boxColSel = 3;  // its current cell and selection end
    std::array<QString, 3> countLabels;                        // new, saved, boxes
    std::vector<MessageRow> messageRows;
    int messageRow = 0, messageRowSel = 0;
    int messageCol0Width = 360;
    std::array<bool, kButtons> enabled{};
    QString selectedId;
    int lastMessageRow = 0;
    int currentBoxIndex = 0;
    std::array<QString, 9> boxFields;  // txtNewVmb(0..8)
    std::array<int, 2> checks{};       // upload to FTP, delete after forwarding
    QString addedOK;
    std::array<QString, 3> limitFields;  // Text1(0..2)
    int recLengthMin = 0, recLengthMax = 0;
    bool smtp = false;
    std::array<QString, kSettings> settings;
    std::array<QString, 3> stats;  // new, saved, total hours

    // --- what the session should have caused so far, in order ---
    QStringList played, recorded, helpOpened;
    QStringList errors;  // run-time errors reported, "number in procedure"
    std::vector<Shown> shown;

    // Session start (the window loaded) and end (the window closed).
    void openWindow();
    void closeWindow();

    // Focus: a length field left, a box field entered.
    void limitFieldLeft(int index);
    void boxFieldEntered();

    void clickTab(int index);
    // A press on box row `row`; `extend` for a shift-left press (the
    // selection grows, the current row stays).
    void clickBoxRow(int row, bool extend = false);
    // Qt::Key_Up, Key_Down, Key_Home or Key_End, with shift to `extend`.
    void boxListKey(int key, bool extend);
    void messageListKey(int key, bool extend);
    void doubleClickBoxRow(int row);
    // A press on message row `row` (any button; `extend` for a shift-left press).
    void pressMessageRow(int row, bool extend);
    void dragMessagesTo(int row);  // after a left press

    void clickButton(Button b, Answer answer, const QString& recordedName = {});
    QString recordedMessageName(const QString& stamp) const;  // name a message recording gets
    void clickModify();
    void clickAdd();
    void clickNext();
    void clickPrev();
    void typeBoxField(int index, const QString& text, bool replace);
    void toggleCheck(int index);
    void typeLimit(int index, const QString& text, bool replace);
    void typeSetting(Setting s, const QString& text, bool replace);
    void clickMechanism(bool smtpOption);
    void clickHelp();

    // The disk changed behind the window's back (the voice-response engine).
    void messageArrives(const QString& name, qint64 size, const QDateTime& written);
    void messageVanishes(const QString& name);
    void messageLocked(const QString& name);
    void greetingArrives(const QString& name, const QByteArray& bytes);

    // Statistics of the message folder as the window shows them at start-up.
    std::array<QString, 3> statistics() const;

    QString messagePath(const QString& name) const;
    QString greetingPath(const QString& name) const;

private:
    void merge(const std::vector<Box>& records, bool legacy);
    void rebuildBoxList();
    static int keyTarget(int key, int from, int last);
    void selectBox();
    void loadBox(int index);
    void removeBox(Answer answer);
    void setBoxFields(const std::array<QString, 9>& texts);
    QString boxCell0(int row) const;
    QString messageFileAt(int row) const;
    bool fileExists(const std::map<QString, MessageFile>& files, const QString& name) const;
    bool greetingExists(const QString& name) const;
    void deleteMessages(Answer answer);
    void setMessageButtons(bool on);
};

}  // namespace vm::soak
