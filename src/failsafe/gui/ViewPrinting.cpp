#include "ViewPrinting.h"

#include "platform/AppFolder.h"

#include <QFileDialog>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

namespace vm::failsafe::gui {

namespace {

bool printOn(QPrinter& printer, const QString& text)
{
    QTextDocument document;
    document.setDefaultFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    document.setPlainText(text);
    document.print(&printer);
    return printer.printerState() != QPrinter::Error;
}

}  // namespace

QString askForPdfPath(QWidget* parent)
{
    const auto answer = QMessageBox::question(
        parent, QStringLiteral("Print"),
        QStringLiteral("No printer is set up on this system. Save the page as a PDF file instead?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return {};
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Save as PDF"),
                                        platform::appPath(QStringLiteral("error.pdf")),
                                        QStringLiteral("PDF files (*.pdf)"));
}

bool writePdf(const QString& text, const QString& path)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return printOn(printer, text);
}

void printPage(const QString& text, QWidget* parent, const std::function<QString(QWidget*)>& choosePdfPath)
{
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (!defaultPrinter.isNull()) {
        QPrinter printer(defaultPrinter, QPrinter::HighResolution);
        printOn(printer, text);
        return;
    }
    const QString path = choosePdfPath ? choosePdfPath(parent) : QString();
    if (!path.isEmpty())
        writePdf(text, path);
}

}  // namespace vm::failsafe::gui
