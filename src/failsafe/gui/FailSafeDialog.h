#pragma once
// frmFAILSAFE: the modal error report dialog. It says in one sentence what
// went wrong, asks what the user was doing and, when "Force System Info" is
// set, offers detail views of the error record, the call tree and the system
// information report. Continue is the only way on; the break button is never
// visible.

#include "failsafe/FailSafeState.h"
#include "failsafe/PendingError.h"

#include <QDialog>
#include <QString>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;

namespace vm::failsafe::gui {

class FailSafeDialog : public QDialog {
    Q_OBJECT
public:
    enum View { CommentView = 0, SourceView = 1, CallTreeView = 2, SystemView = 3 };
    static constexpr int kContinueResult = 0;
    static constexpr int kBreakResult = 5;

    explicit FailSafeDialog(QWidget* parent = nullptr);

    // Fills every field from the error record before the dialog is shown.
    void fill(const FailSafeState& state, const PendingError& error);

    void setSystemInfoText(const QString& text);
    QString systemInfoText() const;

    // The decision and what the dialog held when it was taken.
    int decision() const { return decision_; }
    QString decidedComment() const { return decidedComment_; }
    QString decidedSystemInfo() const { return decidedSystemInfo_; }

    // Sets the status line unless it already shows this text (letter case
    // ignored), so moving within a control does not redraw it.
    void updateStatusBar(const QString& message);

    // What Print puts on the page for a view.
    QString printableText(int view) const;

    // Builds the system information report anew for the system view.
    using ReportBuilder = std::function<QString()>;
    void setReportBuilder(ReportBuilder builder);
    // Asked for a PDF file name when the system has no printer; "" cancels.
    using PdfPathChooser = std::function<QString(QWidget* parent)>;
    void setPdfPathChooser(PdfPathChooser chooser);
    // The application's help file, opened by F1.
    void setHelpFile(const QString& path);

    // While exec() runs for this dialog.
    bool isRunning() const { return running_; }
    void setRunning(bool running) { running_ = running; }

    void chooseView(int view);
    void continueClicked();
    void printClicked();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void buildControls();
    void setCaptions();
    void watchForStatus();
    void viewChosen(int index);
    void errorLevelChosen(int row);
    void breakClicked();
    void helpClicked();
    void showSlotFields(int slot);
    void openHelpFile(const QString& path) const;
    void selectComment();

    QComboBox* Combo1_ = nullptr;
    QStackedWidget* Picture1_ = nullptr;
    QPlainTextEdit* Text1_ = nullptr;
    QPushButton* nsCtrlContinue_ = nullptr;
    QPushButton* nsCtrlMore_ = nullptr;
    QPushButton* fsPrint_ = nullptr;
    QPushButton* nsHelp_ = nullptr;
    QLabel* lblStatus_ = nullptr;
    QLabel* lblErrCnt_ = nullptr;
    QLabel* nsCtrlLabel7_ = nullptr;
    QLineEdit* ErrType_ = nullptr;
    QLabel* nsCtrlProjLab_ = nullptr;
    QLineEdit* errProject_ = nullptr;
    QLabel* nsCtrlLabel1_ = nullptr;
    QLabel* ErrModule_ = nullptr;
    QLabel* nsCtrlLabel2_ = nullptr;
    QLabel* ErrProcedure_ = nullptr;
    QLabel* nsCtrlLabel4_ = nullptr;
    QLabel* ErrLine_ = nullptr;
    QLabel* nsCtrlLabel5_ = nullptr;
    QLabel* ErrNo_ = nullptr;
    QLabel* nsCtrlLabel6_ = nullptr;
    QListWidget* errText_ = nullptr;
    QListWidget* nsCtrlCalls_ = nullptr;
    QPlainTextEdit* nsCtrlArgs_ = nullptr;

    ErrorRecord record_;
    PendingError error_;
    QString exeName_;
    QString helpFile_;
    QString lastStatus_;
    bool systemViewBuilt_ = false;
    bool running_ = false;
    bool activated_ = false;
    int decision_ = kContinueResult;
    QString decidedComment_;
    QString decidedSystemInfo_;
    ReportBuilder reportBuilder_;
    PdfPathChooser pdfPathChooser_;
};

}  // namespace vm::failsafe::gui
