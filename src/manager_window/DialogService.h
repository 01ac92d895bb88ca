#pragma once
// The window's file and text prompts (where to save a copy, which box to copy
// to): one small interface so that tests can answer them, as they answer the
// message boxes. The window shows QtDialogService (QtDialogService.h) unless
// other prompts are in force.

#include "platform/Replaceable.h"

#include <QString>

#include <optional>

class QWidget;

namespace vm::manager_window {

class DialogService {
public:
    virtual ~DialogService() = default;
    // A path to write a file at, `suggested` offered first; nothing when the
    // operator cancels. It does not ask about an existing file: the caller does.
    virtual std::optional<QString> saveFileName(QWidget* owner, const QString& caption, const QString& suggested) = 0;
    // One line of text; nothing when the operator cancels.
    virtual std::optional<QString> askText(QWidget* owner, const QString& caption, const QString& label) = 0;
    // The same with `text` offered, for the operator to take or change.
    virtual std::optional<QString> editText(QWidget* owner, const QString& caption, const QString& label,
                                            const QString& text) = 0;
};

// Prompts that answer for every window (tests); none by default, and then
// each window shows real ones.
platform::Replaceable<DialogService*>& dialogService();

}  // namespace vm::manager_window
