#include "FailSafeDialogHost.h"

#include "failsafe/FailSafeState.h"
#include "failsafe/PendingError.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace vm::failsafe::gui {

FailSafeDialogHost::FailSafeDialogHost() = default;

FailSafeDialogHost::~FailSafeDialogHost() = default;

FailSafeDialog& FailSafeDialogHost::load()
{
    if (!dialog_) {
        dialog_ = std::make_unique<FailSafeDialog>();
        dialog_->setHelpFile(helpFile_);
        dialog_->setReportBuilder(reportBuilder_);
        dialog_->setPdfPathChooser(pdfPathChooser_);
    }
    return *dialog_;
}

void FailSafeDialogHost::setSystemInfoText(const QString& text) { load().setSystemInfoText(text); }

QString FailSafeDialogHost::systemInfoText() const
{
    if (decided_)
        return systemInfo_;
    return dialog_ ? dialog_->systemInfoText() : QString();
}

int FailSafeDialogHost::showModal()
{
    if (dialog_ && dialog_->isRunning()) {
        // An earlier error's dialog has been answered but its exec() has not
        // returned yet: this error gets a dialog of its own.
        const QString report = dialog_->systemInfoText();
        waiting_.push_back(std::move(dialog_));
        load().setSystemInfoText(report);
    }
    FailSafeDialog* dialog = &load();
    dialog->fill(state(), Err());
    if (shown_) {
        QPointer<FailSafeDialog> guard(dialog);
        ShownCallback callback = shown_;
        QTimer::singleShot(0, dialog, [guard, callback] {
            if (guard)
                callback(*guard);
        });
    }
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    dialog->setRunning(true);
    dialog->exec();
    dialog->setRunning(false);
    QApplication::restoreOverrideCursor();

    decided_ = true;
    comment_ = dialog->decidedComment();
    systemInfo_ = dialog->decidedSystemInfo();
    const int decision = dialog->decision();
    const auto waiting = std::find_if(waiting_.begin(), waiting_.end(),
                                      [dialog](const auto& d) { return d.get() == dialog; });
    if (waiting != waiting_.end()) {
        (*waiting).release()->deleteLater();
        waiting_.erase(waiting);
    }
    return decision;
}

QString FailSafeDialogHost::comment() const { return comment_; }

void FailSafeDialogHost::unload()
{
    // A dialog whose exec() is still on the call stack is deleted once that
    // returns.
    if (dialog_ && dialog_->isRunning())
        waiting_.push_back(std::move(dialog_));
    dialog_.reset();
    decided_ = false;
}

void FailSafeDialogHost::setShownCallback(ShownCallback callback) { shown_ = std::move(callback); }

void FailSafeDialogHost::setHelpFile(const QString& path)
{
    helpFile_ = path;
    if (dialog_)
        dialog_->setHelpFile(path);
}

void FailSafeDialogHost::setReportBuilder(FailSafeDialog::ReportBuilder builder)
{
    reportBuilder_ = std::move(builder);
    if (dialog_)
        dialog_->setReportBuilder(reportBuilder_);
}

void FailSafeDialogHost::setPdfPathChooser(FailSafeDialog::PdfPathChooser chooser)
{
    pdfPathChooser_ = std::move(chooser);
    if (dialog_)
        dialog_->setPdfPathChooser(pdfPathChooser_);
}

}  // namespace vm::failsafe::gui
