#pragma once
// A fresh error module for error-handler tests: everything TraceFixture
// fixes, plus a fixed moment for the error log's start and stop lines and a
// fixed system information report.

#include "TraceFixture.h"

#include "failsafe/ErrorDialogHost.h"
#include "failsafe/ErrorHandler.h"
#include "failsafe/PendingError.h"

#include "platform/LocaleText.h"
#include "platform/RuntimeError.h"

#include <QDateTime>

namespace vm::test {

inline const QString kPlayMsg = u"Sub cmdPlayMsg_Click"_s;
inline const QString kFixedReport =
    u"Application running on computer TESTBOX\r\n   Title...............RiVaVaz\r\n\r\n"_s;

class ErrorFixture : public TraceFixture {
protected:
    void SetUp() override
    {
        TraceFixture::SetUp();
        overrides_.replace(failsafe::errorLogClock(), [] { return QDateTime(QDate(2026, 12, 6), QTime(9, 30, 15)); });
        overrides_.replace(failsafe::systemReportBuilder(),
                           [this](QString& report) { ++reportsBuilt_, report = kFixedReport; });
        overrides_.replace(failsafe::messageBoxHook(),
                           [this](failsafe::BoxIcon, failsafe::BoxButtons, const QString& title, const QString& text) {
                               return boxes_ << title + u": "_s + text, false;
                           });
    }

    // Pushes the frames of the window's load handler and `procedure`, then
    // hands error `number` to fsERROR as the procedure's error block does.
    std::optional<int> failIn(const QString& procedure, int number, const QString& source = platform::kProjectName)
    {
        push(u"Sub Form_Load"_s);
        push(procedure);
        failsafe::Err().set(platform::RuntimeError(number, platform::standardErrorDescription(number), source));
        return failsafe::fsERROR(kForm, procedure);
    }

    QString logText() const { return platform::decodeAnsi(app_.read(u"error.log"_s)); }

    int reportsBuilt_ = 0;
    QStringList boxes_;
};

}  // namespace vm::test
