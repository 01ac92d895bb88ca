#include "FailSafeDialog.h"

#include "DialogTexts.h"
#include "ViewPrinting.h"

#include "failsafe/CallTree.h"
#include "failsafe/FailSafe.h"

#include "platform/AppFolder.h"
#include "platform/RuntimeError.h"

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace vm::failsafe::gui {

namespace {

template <class Widget>
Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* valueLabel(const char* name)
{
    QLabel* label = named(new QLabel, name);
    label->setFrameShape(QFrame::StyledPanel);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QLineEdit* valueField(const char* name)
{
    QLineEdit* field = named(new QLineEdit, name);
    field->setReadOnly(true);
    return field;
}

void centreOnScreen(QWidget& widget)
{
    const QScreen* screen = widget.screen() ? widget.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = widget.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    widget.move(frame.topLeft());
}

// The call tree's tab stops: each TAB shows as four blanks, so the levels
// stay close together while the item texts keep their TABs.
class CallTreeTabStops : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& value, const QLocale& locale) const override
    {
        return QStyledItemDelegate::displayText(value, locale).replace(QLatin1Char('\t'), QStringLiteral("    "));
    }
};

QString defaultReport()
{
    QString report;
    fsSystemInfo(report);
    return report;
}

}  // namespace

FailSafeDialog::FailSafeDialog(QWidget* parent)
    : QDialog(parent), reportBuilder_(defaultReport), pdfPathChooser_(askForPdfPath)
{
    setObjectName(QStringLiteral("frmFAILSAFE"));
    setModal(true);
    buildControls();
    setCaptions();
    resize(560, 420);
    centreOnScreen(*this);
    Combo1_->addItems(viewEntries());
    watchForStatus();
}

void FailSafeDialog::buildControls()
{
    lblErrCnt_ = named(new QLabel, "lblErrCnt");
    lblErrCnt_->setWordWrap(true);
    Combo1_ = named(new QComboBox, "Combo1");

    Picture1_ = named(new QStackedWidget, "Picture1");
    Text1_ = named(new QPlainTextEdit, "Text1");
    Picture1_->addWidget(Text1_);

    auto* sourcePage = new QWidget;
    auto* grid = new QGridLayout(sourcePage);
    ErrType_ = valueField("ErrType");
    errProject_ = valueField("errProject");
    ErrModule_ = valueLabel("ErrModule");
    ErrProcedure_ = valueLabel("ErrProcedure");
    ErrLine_ = valueLabel("ErrLine");
    ErrNo_ = valueLabel("ErrNo");
    errText_ = named(new QListWidget, "errText");
    const std::pair<QLabel**, const char*> labels[] = {
        {&nsCtrlLabel7_, "nsCtrlLabel7"}, {&nsCtrlProjLab_, "nsCtrlProjLab"}, {&nsCtrlLabel1_, "nsCtrlLabel1"},
        {&nsCtrlLabel2_, "nsCtrlLabel2"}, {&nsCtrlLabel4_, "nsCtrlLabel4"},   {&nsCtrlLabel5_, "nsCtrlLabel5"},
        {&nsCtrlLabel6_, "nsCtrlLabel6"},
    };
    QWidget* values[] = {ErrType_, errProject_, ErrModule_, ErrProcedure_, ErrLine_, ErrNo_, errText_};
    for (int row = 0; row < 7; ++row) {
        *labels[row].first = named(new QLabel, labels[row].second);
        grid->addWidget(*labels[row].first, row, 0, Qt::AlignTop);
        grid->addWidget(values[row], row, 1);
    }
    Picture1_->addWidget(sourcePage);

    nsCtrlCalls_ = named(new QListWidget, "nsCtrlCalls");
    nsCtrlCalls_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    nsCtrlCalls_->setItemDelegate(new CallTreeTabStops(nsCtrlCalls_));
    Picture1_->addWidget(nsCtrlCalls_);

    nsCtrlArgs_ = named(new QPlainTextEdit, "nsCtrlArgs");
    nsCtrlArgs_->setReadOnly(true);
    nsCtrlArgs_->setLineWrapMode(QPlainTextEdit::NoWrap);
    nsCtrlArgs_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Picture1_->addWidget(nsCtrlArgs_);

    nsHelp_ = named(new QPushButton, "nsHelp");
    nsHelp_->setVisible(false);
    nsCtrlContinue_ = named(new QPushButton, "nsCtrlContinue");
    nsCtrlContinue_->setDefault(true);
    nsCtrlMore_ = named(new QPushButton, "nsCtrlMore");
    fsPrint_ = named(new QPushButton, "fsPrint");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(nsHelp_);
    buttons->addStretch();
    buttons->addWidget(nsCtrlContinue_);
    buttons->addWidget(nsCtrlMore_);
    buttons->addWidget(fsPrint_);

    lblStatus_ = named(new QLabel, "lblStatus");
    lblStatus_->setFrameShape(QFrame::StyledPanel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblErrCnt_);
    layout->addWidget(Combo1_);
    layout->addWidget(Picture1_, 1);
    layout->addLayout(buttons);
    layout->addWidget(lblStatus_);

    connect(Combo1_, &QComboBox::currentIndexChanged, this, &FailSafeDialog::viewChosen);
    connect(errText_, &QListWidget::currentRowChanged, this, &FailSafeDialog::errorLevelChosen);
    connect(nsCtrlContinue_, &QPushButton::clicked, this, &FailSafeDialog::continueClicked);
    connect(nsCtrlMore_, &QPushButton::clicked, this, &FailSafeDialog::breakClicked);
    connect(fsPrint_, &QPushButton::clicked, this, &FailSafeDialog::printClicked);
    connect(nsHelp_, &QPushButton::clicked, this, &FailSafeDialog::helpClicked);
    setMouseTracking(true);
}

void FailSafeDialog::setCaptions()
{
    setWindowTitle(message(34));
    fsPrint_->setText(QStringLiteral("Print"));
    nsCtrlLabel1_->setText(QLatin1Char(' ') + message(19).trimmed());
    nsCtrlLabel2_->setText(QLatin1Char(' ') + message(30).trimmed());
    nsCtrlLabel4_->setText(message(35));
    nsCtrlLabel5_->setText(message(36));
    nsCtrlLabel6_->setText(message(37));
    nsCtrlLabel7_->setText(message(38));
    nsCtrlProjLab_->setText(message(61));
    nsCtrlContinue_->setText(message(42));
    nsCtrlMore_->setText(message(44));
}

void FailSafeDialog::watchForStatus()
{
    const QList<QWidget*> watched = findChildren<QWidget*>();
    for (QWidget* widget : watched) {
        if (!statusTextFor(widget->objectName()).isEmpty())
            widget->installEventFilter(this);
    }
}

void FailSafeDialog::fill(const FailSafeState& state, const PendingError& error)
{
    record_ = state.error;
    error_ = error;
    exeName_ = platform::executableName();
    ErrType_->setText(record_.slot[0].category);

    if (state.devEnvironment) {
        centreOnScreen(*this);
        nsHelp_->setText(QStringLiteral("Help"));
        nsHelp_->setVisible(true);
        helpFile_ = platform::appPath(QStringLiteral("failsafe.hlp"));
    }
    if (!state.settings.forceSystemInfo) {
        while (Combo1_->count() > 1)
            Combo1_->removeItem(Combo1_->count() - 1);
    }
    // Continue takes the place of the break button, which stays hidden.
    nsCtrlMore_->setVisible(false);

    lblErrCnt_->setText(headingText(record_, exeName_));
    Text1_->setPlainText(QStringLiteral("Type in what you were doing here."));
    showSlotFields(0);

    errText_->clear();
    errText_->addItems(errorLevelEntries(record_));

    nsCtrlCalls_->clear();
    nsCtrlCalls_->addItems(callTreeLines(record_, state.stack.codePointer));
    for (int row = 0; row < nsCtrlCalls_->count(); ++row) {
        if (nsCtrlCalls_->item(row)->text().contains(QStringLiteral("Runtime error"))) {
            nsCtrlCalls_->setCurrentRow(row);
            break;
        }
    }
    errText_->setCurrentRow(errText_->count() - 1);
    if (Combo1_->currentIndex() == CommentView)
        viewChosen(CommentView);
    else
        Combo1_->setCurrentIndex(CommentView);
}

void FailSafeDialog::showSlotFields(int slot)
{
    const ErrorSlot& s = record_.slot[std::clamp(slot, 0, kErrorSlots - 1)];
    ErrType_->setText(s.category);
    ErrNo_->setText(QLatin1Char(' ') + QString::number(s.number));
    ErrModule_->setText(QLatin1Char(' ') + s.moduleTrail);
    errProject_->setText(s.source);
    ErrProcedure_->setText(QLatin1Char(' ') + s.procedureTrail);
    ErrLine_->setText(lineFieldText(s.line, record_.codePointer));
}

void FailSafeDialog::setSystemInfoText(const QString& text) { nsCtrlArgs_->setPlainText(text); }

QString FailSafeDialog::systemInfoText() const { return nsCtrlArgs_->toPlainText(); }

void FailSafeDialog::updateStatusBar(const QString& message)
{
    if (message.compare(lastStatus_, Qt::CaseInsensitive) == 0)
        return;
    lblStatus_->setText(message);
    lastStatus_ = message;
}

QString FailSafeDialog::printableText(int view) const
{
    switch (view) {
        case CommentView: return Text1_->toPlainText();
        case SourceView: {
            const QListWidgetItem* description = errText_->currentItem();
            const std::pair<const QLabel*, QString> pairs[] = {
                {nsCtrlLabel7_, ErrType_->text()},
                {nsCtrlProjLab_, errProject_->text()},
                {nsCtrlLabel1_, ErrModule_->text()},
                {nsCtrlLabel2_, ErrProcedure_->text()},
                {nsCtrlLabel4_, ErrLine_->text()},
                {nsCtrlLabel5_, ErrNo_->text()},
                {nsCtrlLabel6_, description ? description->text() : QString()},
            };
            QStringList lines;
            for (const auto& [label, value] : pairs)
                lines << label->text() + value;
            return lines.join(QLatin1Char('\n'));
        }
        case CallTreeView: {
            QStringList lines;
            for (int row = 0; row < nsCtrlCalls_->count(); ++row)
                lines << nsCtrlCalls_->item(row)->text();
            return lines.join(QLatin1Char('\n'));
        }
        case SystemView: return nsCtrlArgs_->toPlainText();
        default: return {};
    }
}

void FailSafeDialog::setReportBuilder(ReportBuilder builder)
{
    reportBuilder_ = builder ? std::move(builder) : ReportBuilder(defaultReport);
}

void FailSafeDialog::setPdfPathChooser(PdfPathChooser chooser)
{
    pdfPathChooser_ = chooser ? std::move(chooser) : PdfPathChooser(askForPdfPath);
}

void FailSafeDialog::setHelpFile(const QString& path) { helpFile_ = path; }

void FailSafeDialog::chooseView(int view) { Combo1_->setCurrentIndex(view); }

void FailSafeDialog::viewChosen(int index)
{
    if (index < 0 || index >= Picture1_->count())
        return;
    Picture1_->setCurrentIndex(index);
    if (index == CommentView) {
        selectComment();
    } else if (index == SystemView && !systemViewBuilt_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QString report;
        platform::ignoreErrors([&] { report = reportBuilder_(); });
        nsCtrlArgs_->setPlainText(report);
        systemViewBuilt_ = true;
        QApplication::restoreOverrideCursor();
    }
}

void FailSafeDialog::errorLevelChosen(int row)
{
    if (row >= 0)
        showSlotFields(row);
}

void FailSafeDialog::selectComment()
{
    Text1_->setFocus();
    Text1_->selectAll();
}

void FailSafeDialog::continueClicked()
{
    decision_ = kContinueResult;
    decidedComment_ = Text1_->toPlainText();
    decidedSystemInfo_ = nsCtrlArgs_->toPlainText();
    state().dialogShowing = false;
    done(kContinueResult);
}

void FailSafeDialog::breakClicked()
{
    decision_ = kBreakResult;
    decidedSystemInfo_ = nsCtrlArgs_->toPlainText();
    state().dialogShowing = false;
    done(kBreakResult);
}

// Escape and the close box acknowledge the error like Continue.
void FailSafeDialog::reject() { continueClicked(); }

void FailSafeDialog::printClicked() { printPage(printableText(Combo1_->currentIndex()), this, pdfPathChooser_); }

void FailSafeDialog::openHelpFile(const QString& path) const
{
    if (!path.isEmpty() && QFileInfo::exists(path))
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void FailSafeDialog::helpClicked()
{
    if (error_.helpFile.isEmpty())
        errorLevelChosen(errText_->currentRow());
    if (state().devEnvironment)
        return;
    const QString file = error_.helpFile.isEmpty() ? helpFile_ : error_.helpFile;
    openHelpFile(file);
    QMessageBox box(QMessageBox::Information, exeName_,
                    QStringLiteral("Press F1 for Help on \"") + record_.slot[0].description + QLatin1Char('"'),
                    QMessageBox::Ok | QMessageBox::Help, this);
    if (box.exec() == QMessageBox::Help)
        openHelpFile(file);
}

void FailSafeDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    state().dialogShowing = true;
    activated_ = false;
    activateWindow();
    selectComment();
}

// The first activation puts the prompt in the comment field under the
// cursor, selected, so that typing replaces it.
void FailSafeDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !activated_) {
        activated_ = true;
        state().dialogShowing = true;
        selectComment();
    }
}

void FailSafeDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        openHelpFile(helpFile_);
        return;
    }
    QDialog::keyPressEvent(event);
}

void FailSafeDialog::mouseMoveEvent(QMouseEvent* event)
{
    updateStatusBar(statusTextFor(objectName()));
    QDialog::mouseMoveEvent(event);
}

bool FailSafeDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove)
        updateStatusBar(statusTextFor(watched->objectName()));
    return QDialog::eventFilter(watched, event);
}

}  // namespace vm::failsafe::gui
