#pragma once
// The error module's view of its report dialog (frmFAILSAFE). The core module
// has no widget code; the application puts the real dialog in force, tests
// put stand-ins. With none in force the module behaves as if the dialog were
// answered with Continue at once.

#include "platform/Replaceable.h"

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

// The dialog in force (none by default), and its host or nullptr.
platform::Replaceable<ErrorDialogHost*>& errorDialog();
ErrorDialogHost* errorDialogHost();

}  // namespace vm::failsafe
