#pragma once
// Printing one view of the error report dialog on the default printer. When
// the system has no printer the user is offered to save the same page as a
// PDF file instead.

#include <QString>

#include <functional>

class QWidget;

namespace vm::failsafe::gui {

// Asks whether to save as PDF and, if so, for the file name; "" when the
// user declines.
QString askForPdfPath(QWidget* parent);

// Prints `text` as one document (plain text, fixed-pitch font). Without a
// default printer, `choosePdfPath` names the PDF file to write instead ("" to
// print nothing).
void printPage(const QString& text, QWidget* parent, const std::function<QString(QWidget*)>& choosePdfPath);

// The PDF output on its own, used by printPage and by tests.
bool writePdf(const QString& text, const QString& path);

}  // namespace vm::failsafe::gui
