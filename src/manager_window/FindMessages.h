#pragma once
// FindMessages: the window "Find messages" (object name frmFindMessages),
// opened from the main window with Ctrl+F or the message list's menu. It
// lists every message of the folder, as vmbox lists them, that meets what
// the operator types: a part of the caller's number, a box, the first and
// last day, new or saved, the shortest length. The results follow each key;
// a click on a heading orders them by that column. Return or a double-click
// shows the message in the main window; the results have the message list's
// menu. Esc closes the window, F5 reads the folder again.
//
// Its procedures are traced and error-trapped under the module name
// "frmFindMessages.frm", as the main window's are under its own.

#include "MessageMenu.h"

#include "mailbox/MessageQuery.h"

#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QSpinBox;
class QTableView;

namespace vm::manager_window {

class FoundMessages;
class ManagerWindow;

inline const QString kFindModule = QStringLiteral("frmFindMessages.frm");

class FindMessages final : public QWidget {
    Q_OBJECT
public:
    explicit FindMessages(ManagerWindow& owner);

    // Reads the folder and brings the window up, the caller field ready for typing.
    void open();
    // Reads the message folder (again) and shows what the fields ask for.
    void Form_Load();
    void gridFound_DblClick();
    void gridFound_HeaderClick(int Col);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void traced(const QString& procedure, const std::function<void()>& body);
    void readFolder();
    void criteriaChanged(const QString& procedure);
    void runCommand(MessageCommand command);
    // The messages of the selected rows, in row order; the message of the current row.
    QStringList selectedFiles() const;
    const mailbox::MessageInfo* currentMessage() const;
    // After a command changed messages of `boxes`: the folder read again,
    // `select` selected, and the main window's list refreshed where it shows them.
    void listAgain(const QStringList& select, const QStringList& boxes);
    void showCount();

    ManagerWindow& owner_;
    FoundMessages* found_ = nullptr;
    QTableView* gridFound = nullptr;
    QLineEdit* txtFindCaller = nullptr;
    QLineEdit* txtFindBox = nullptr;
    QLineEdit* txtFindFrom = nullptr;
    QLineEdit* txtFindTo = nullptr;
    QRadioButton* optFindAll = nullptr;
    QRadioButton* optFindNew = nullptr;
    QRadioButton* optFindSaved = nullptr;
    QSpinBox* spnFindMinLength = nullptr;
    QLabel* lblFoundCount = nullptr;
    QLabel* lblFindNote = nullptr;
    QMenu* mnuFound = nullptr;
};

}  // namespace vm::manager_window
