#pragma once
// TextBox: a one-line text field that reports getting and losing the
// keyboard focus within the window (switching to another program does not
// count, as it never did for the window's text boxes).

#include <QLineEdit>

namespace vm::widgets {

class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);

signals:
    void gotFocus();
    void lostFocus();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace vm::widgets
