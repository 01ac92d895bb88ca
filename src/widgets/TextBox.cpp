#include "TextBox.h"

#include <QFocusEvent>

namespace vm::widgets {

namespace {
bool withinWindow(const QFocusEvent* event)
{
    return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}
}  // namespace

TextBox::TextBox(QWidget* parent) : QLineEdit(parent) {}

void TextBox::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (withinWindow(event))
        emit gotFocus();
}

void TextBox::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (withinWindow(event))
        emit lostFocus();
}

}  // namespace vm::widgets
