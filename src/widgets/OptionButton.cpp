#include "OptionButton.h"

#include <QPainter>
#include <QStyleOptionButton>

namespace vm::widgets {

OptionButton::OptionButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {}

void OptionButton::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const int indicator = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, &option, this);
    const int indicatorHeight = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, &option, this);
    const int lineHeight = fontMetrics().height();
    option.rect = QRect(0, (lineHeight - indicatorHeight) / 2 + 1, indicator, indicatorHeight);
    style()->drawPrimitive(QStyle::PE_IndicatorRadioButton, &option, &painter, this);
    const int gap = style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, &option, this);
    const QRect textArea = rect().adjusted(indicator + gap, 0, 0, 0);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = painter.boundingRect(textArea, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text());
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

bool OptionButton::hitButton(const QPoint& pos) const { return rect().contains(pos); }

}  // namespace vm::widgets
