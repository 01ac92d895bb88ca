#pragma once
// Window geometry is designed in twips (1440 to the inch, 15 to a pixel on a
// 96-dpi screen). The scale follows the screen's logical resolution.

#include <QRect>

namespace vm::widgets {

// Pixels per twip; 1/15 on a 96-dpi screen.
double twipScale();
// Sets the scale from the screen's logical dots per inch.
void setLogicalDpi(double dpi);

int twipsToPixels(int twips);
double pixelsToTwips(double pixels);
QRect twipsRect(int left, int top, int width, int height);

}  // namespace vm::widgets
