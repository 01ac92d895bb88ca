#pragma once
// The window's file and text prompts on screen: QFileDialog and QInputDialog,
// modal to the window.

#include "DialogService.h"

namespace vm::manager_window {

class QtDialogService : public DialogService {
public:
    std::optional<QString> saveFileName(QWidget* owner, const QString& caption, const QString& suggested) override;
    std::optional<QString> askText(QWidget* owner, const QString& caption, const QString& label) override;
    std::optional<QString> editText(QWidget* owner, const QString& caption, const QString& label,
                                    const QString& text) override;
};

}  // namespace vm::manager_window
