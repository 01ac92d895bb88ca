#pragma once
// The two reports an intercepted error can be mailed as: the e-mailed error
// report (the error log entry attached as "fserror.log") to the address of
// "email"/"Address", and the defect report to the defect tracker of
// "Bugledger"/"Address". Both are best effort: a mail system that refuses
// them leaves no trace.

#include "ErrorLog.h"
#include "FailSafeState.h"

#include "platform/MailSender.h"

#include <QString>

namespace vm::failsafe {

inline const QString kEmailAttachmentName = QStringLiteral("fserror.log");
inline const QString kCircularAttachmentName = QStringLiteral("CircularTrace.log");
inline const QString kEmailTempFileName = QStringLiteral("!error!.log");

// "Remote Error Report From " + executable name.
QString emailSubject(const QString& exeName);
// "Tarvik FailSafe reports error 53 (File not found) occurred in RiVaVaz.
//  The attached log file has complete details."
QString emailBody(const ErrorSlot& slot, const QString& exeName);

// The e-mail report of the current error: writes its error log entry to
// "!error!.log" in the application folder, mails it and deletes the file.
bool sendEmailReport(const ErrorLogTexts& texts);

// "FailSafe New Defect [" + database + "]".
QString defectSubject(const Settings& settings);
// The label blocks of the defect report ("KEY:" ... "STACK:"), each label on
// its own line followed by its value, CR LF line ends.
QString defectBody(const FailSafeState& state, const QDateTime& entered);
// The defect report message of the current error, with the circular log
// attached when it is on and "Attach Log" is set.
platform::MailMessage defectMessage(const FailSafeState& state, const QDateTime& entered);
bool sendDefectReport(const QDateTime& entered);

}  // namespace vm::failsafe
