#pragma once
// OptionButton: an option (radio) button whose caption wraps onto further
// lines within the button's width, for captions longer than their frame.

#include <QRadioButton>

namespace vm::widgets {

class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    explicit OptionButton(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};

}  // namespace vm::widgets
