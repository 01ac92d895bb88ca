#include "QtDialogService.h"

#include <QFileDialog>
#include <QInputDialog>

namespace vm::manager_window {

platform::Replaceable<DialogService*>& dialogService()
{
    static platform::Replaceable<DialogService*> inForce(nullptr);
    return inForce;
}

std::optional<QString> QtDialogService::saveFileName(QWidget* owner, const QString& caption, const QString& suggested)
{
    // The window asks about a file that exists in its own words, with the
    // message boxes tests answer; the dialog would ask a second time.
    const QString path = QFileDialog::getSaveFileName(owner, caption, suggested, QString(), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> QtDialogService::askText(QWidget* owner, const QString& caption, const QString& label)
{
    return editText(owner, caption, label, QString());
}

std::optional<QString> QtDialogService::editText(QWidget* owner, const QString& caption, const QString& label,
                                                 const QString& text)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(owner, caption, label, QLineEdit::Normal, text, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

}  // namespace vm::manager_window
