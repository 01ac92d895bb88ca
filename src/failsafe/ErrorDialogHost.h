#pragma once
// The error module's view of its report dialog (frmFAILSAFE). The core module
// has no widget code; the application registers the real dialog, tests
// register stand-ins. With no host registered the module behaves as if the
// dialog were answered with Continue at once.

#include <QString>

namespace vm::failsafe {

class ErrorDialogHost {
public:
    virtual ~ErrorDialogHost() = default;
    // Loads the dialog if needed (without showing it) and puts the system
    // information report into its system information view.
    virtual void setSystemInfoText(const QString& text) = 0;
    // The text of the system information view as the dialog left it.
    virtual QString systemInfoText() const = 0;
    // Fills the dialog from the error record and shows it modally; returns
    // the decision: 0 continue, 5 break.
    virtual int showModal() = 0;
    // The comment the user typed.
    virtual QString comment() const = 0;
    // Unloads the dialog.
    virtual void unload() = 0;
};

void setErrorDialogHost(ErrorDialogHost* host);
ErrorDialogHost* errorDialogHost();

}  // namespace vm::failsafe
