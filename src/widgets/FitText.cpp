#include "FitText.h"

#include <QFontMetrics>
#include <QLabel>

namespace vm::widgets {

namespace {

constexpr int kRoomAfter = 2;           // pixels kept free before the next control
constexpr qreal kSmallestPoints = 5.0;  // below this, digits are hard to tell apart
constexpr qreal kPointStep = 0.25;

}  // namespace

void fitTextToWidth(QLabel& label)
{
    label.setFont(QFont());  // back to the inherited font
    QRect shown = label.geometry();
    if (const QWidget* parent = label.parentWidget())
        shown = shown.intersected(parent->rect());
    const int room = shown.width() - label.margin() * 2 - kRoomAfter;
    const QString text = label.text();
    const auto fits = [&](const QFont& font) { return QFontMetrics(font).horizontalAdvance(text) <= room; };

    QFont font = label.font();
    if (fits(font))
        return;
    // Narrower letters first: they keep the height, so the number reads as its neighbours do.
    font.setStretch(QFont::Condensed);
    while (!fits(font) && font.pointSizeF() - kPointStep >= kSmallestPoints)
        font.setPointSizeF(font.pointSizeF() - kPointStep);
    label.setFont(font);
}

}  // namespace vm::widgets
