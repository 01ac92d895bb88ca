// The settings tabs: recording length limits checked and written when their
// field is left, the e-mail mechanism written whenever an option is
// selected, and everything else saved when the window unloads.
#include "ManagerWindow.h"
#include "WindowControls.h"

#include "WindowText.h"
#include "widgets/TextBox.h"

#include "config/Paths.h"
#include "config/RegistryIni.h"
#include "failsafe/Traced.h"
#include "mailbox/BoxText.h"
#include "mailbox/MailboxListFile.h"
#include "platform/AnsiText.h"
#include "platform/FileSystem.h"
#include "platform/NumberText.h"
#include "platform/RuntimeError.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextDocument>

#include <algorithm>

namespace vm::manager_window {

using failsafe::argumentList;
using failsafe::eventArg;
using failsafe::runTraced;

namespace {

const QString kSection = QStringLiteral("Voicemail");

QString indexArgument(std::int16_t index)
{
    return argumentList({eventArg(QStringLiteral("Index"), static_cast<long long>(index))});
}

// The typed limit: blanks trimmed, at most four characters, as a whole
// number (0 when it is none), then held within [low, high].
std::int16_t checkedLimit(const QString& typed, std::int16_t low, std::int16_t high)
{
    const QString text = mailbox::trimBlanks(typed).left(4);
    std::int16_t value = 0;
    platform::ignoreErrors([&] { value = platform::textToInt16(text); });
    return std::clamp(value, low, high);
}

// The text as typed. toPlainText() would also turn every non-breaking space
// into a blank; only the document's paragraph and line separators become
// line breaks here.
QString typedText(const QPlainTextEdit& edit)
{
    QString text = edit.document()->toRawText();
    for (QChar& c : text) {
        switch (c.unicode()) {
            case QChar::ParagraphSeparator:
            case QChar::LineSeparator:
            case 0xFDD0:  // frame start and end marks
            case 0xFDD1: c = u'\n'; break;
            default: break;
        }
    }
    return text;
}

}  // namespace

void ManagerWindow::Text1_LostFocus(std::int16_t Index)
{
    runTraced(
        kModule, QStringLiteral("Sub Text1_LostFocus"), [&] { return indexArgument(Index); },
        [&] {
            if (Index != 0 && Index != 1)
                return;
            widgets::TextBox* field = ui_->Text1[static_cast<std::size_t>(Index)];
            std::int16_t& setting = Index == 0 ? settings_.RecLengthMin : settings_.RecLengthMax;
            setting = Index == 0 ? checkedLimit(field->text(), 1, 30) : checkedLimit(field->text(), 2, 9999);
            const QString text = QString::number(setting);
            config::WriteIniString(settings_.iniFile, kSection,
                                   Index == 0 ? QStringLiteral("RecLengthMin") : QStringLiteral("RecLengthMax"), text);
            field->setText(text);
        });
}

void ManagerWindow::optEmailMechanism_Click(std::int16_t Index)
{
    runTraced(
        kModule, QStringLiteral("Sub optEmailMechanism_Click"), [&] { return indexArgument(Index); },
        [this] {
            const bool smtp = ui_->optEmailMechanism[2]->isChecked();
            config::WriteIniString(settings_.iniFile, kSection, QStringLiteral("ForwardEmailMechanism"),
                                   smtp ? QStringLiteral("SMTP") : QStringLiteral("MAPI"));
            ui_->txtSmtpMailHost->setEnabled(smtp);
            ui_->txtSmtpEmailAddress->setEnabled(smtp);
            ui_->lblSmtpDesc[0]->setEnabled(smtp);
            ui_->lblSmtpDesc[1]->setEnabled(smtp);
        });
}

mailbox::ForwardSettings ManagerWindow::forwardSettings() const
{
    return {ui_->optEmailMechanism[2]->isChecked(), ui_->txtSmtpMailHost->text(),      ui_->txtSmtpEmailAddress->text(),
            ui_->txtSmtpLoginName->text(),          ui_->txtSmtpLoginPassword->text(), ui_->txtEmailSubject->text(),
            typedText(*ui_->txtEmailBody)};
}

void ManagerWindow::VmbSaveXML() { mailbox::saveMailboxList(boxes_, config::mailboxList()); }

void ManagerWindow::Form_Unload(std::int16_t& Cancel)
{
    runTraced(
        kModule, QStringLiteral("Sub Form_Unload"),
        [&] { return argumentList({eventArg(QStringLiteral("Cancel"), static_cast<long long>(Cancel))}); },
        [this] {
            // After an incomplete start the files still hold what the window
            // could not take: their previous versions are kept first, and a
            // copy that fails leaves every file as it is.
            if (incompleteStart_.any()) {
                QStringList replaced;
                bool listIsWritten = false;
                platform::ignoreErrors([&] { listIsWritten = boxes_.upperBound() >= 1; });
                if (listIsWritten)
                    replaced << config::mailboxList();
                replaced << config::emailBodyFile() << config::iniFile();
                keepPreviousVersions(replaced, QDateTime::currentDateTime());
            }
            VmbSaveXML();
            // The body keeps its line breaks, written as CR LF like every text file
            // here. Replaced whole, so a failed write never leaves half a template
            // for the engine to send.
            QString body = typedText(*ui_->txtEmailBody);
            body.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
            platform::replaceFileAtomically(config::emailBodyFile(),
                                            platform::encodeAnsi(body + QStringLiteral("\r\n")));

            config::WriteIniString(settings_.iniFile, kSection, QStringLiteral("ForwardEmailSubject"),
                                   ui_->txtEmailSubject->text());
            config::WriteIniString(settings_.iniFile, kSection, QStringLiteral("ForwardEmailSmtpServer"),
                                   ui_->txtSmtpMailHost->text());
            config::WriteIniString(settings_.iniFile, kSection, QStringLiteral("ForwardEmailSmtpEmailAddress"),
                                   ui_->txtSmtpEmailAddress->text());
            // The login is written only where there is one to keep, so that a
            // QV.INI that never had one stays as it was.
            for (const auto& [key, field] :
                 {std::pair{QStringLiteral("ForwardEmailSmtpLoginName"), ui_->txtSmtpLoginName},
                  std::pair{QStringLiteral("ForwardEmailSmtpLoginPassword"), ui_->txtSmtpLoginPassword}})
                if (!field->text().isEmpty() || config::IniHasKey(settings_.iniFile, kSection, key))
                    config::WriteIniString(settings_.iniFile, kSection, key, field->text());
            config::WriteIniString(settings_.iniFile, kSection, QStringLiteral("FtpServer"), ui_->txtFtpServer->text());
            config::WriteIniString(settings_.iniFile, kSection, QStringLiteral("FtpDir"), ui_->txtFtpDir->text());
            config::WriteIniString(settings_.iniFile, kSection, QStringLiteral("FtpUser"), ui_->txtFtpUser->text());
            config::WriteIniString(settings_.iniFile, kSection, QStringLiteral("FtpPassword"),
                                   ui_->txtFtpPassword->text());
            config::WriteIniString(settings_.iniFile, kSection, QStringLiteral("RunCommandAfterRec"),
                                   ui_->txtRunCommand->text());
        });
}

}  // namespace vm::manager_window
