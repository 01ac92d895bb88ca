#pragma once
// The window's message boxes on screen: QMessageBox, modal to the window.

#include "MessageBoxService.h"

class QWidget;

namespace vm::manager_window {

class QtMessageBoxService : public MessageBoxService {
public:
    explicit QtMessageBoxService(QWidget* owner = nullptr);
    MsgAnswer show(const QString& text, MsgButtons buttons, const QString& caption) override;
    MsgAnswer ask(const QString& text, MsgButtons buttons, const QString& caption, const QString& note) override;

private:
    QWidget* owner_;
};

}  // namespace vm::manager_window
