#pragma once
// The error module's dialog host backed by the real frmFAILSAFE dialog. The
// application puts one in force for its whole run (failsafe::errorDialog());
// tests do too and drive the dialog through the shown callback.

#include "FailSafeDialog.h"

#include "failsafe/ErrorDialogHost.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace vm::failsafe::gui {

class FailSafeDialogHost : public ErrorDialogHost {
public:
    FailSafeDialogHost();
    ~FailSafeDialogHost() override;

    void setSystemInfoText(const QString& text) override;
    QString systemInfoText() const override;
    int showModal() override;
    QString comment() const override;
    void unload() override;

    // Called with the dialog once it is on screen (from its event loop), so a
    // test can look at it and press a button.
    using ShownCallback = std::function<void(FailSafeDialog& dialog)>;
    void setShownCallback(ShownCallback callback);
    // Passed on to every dialog this host loads.
    void setHelpFile(const QString& path);
    void setReportBuilder(FailSafeDialog::ReportBuilder builder);
    void setPdfPathChooser(FailSafeDialog::PdfPathChooser chooser);

    // The loaded dialog, or nullptr.
    FailSafeDialog* dialog() const { return dialog_.get(); }

private:
    FailSafeDialog& load();

    std::unique_ptr<FailSafeDialog> dialog_;
    // Dialogs whose exec() is still on the call stack while a later error
    // shows its own dialog; deleted once they return.
    std::vector<std::unique_ptr<FailSafeDialog>> waiting_;
    bool decided_ = false;
    QString comment_;
    QString systemInfo_;
    QString helpFile_;
    ShownCallback shown_;
    FailSafeDialog::ReportBuilder reportBuilder_;
    FailSafeDialog::PdfPathChooser pdfPathChooser_;
};

}  // namespace vm::failsafe::gui
