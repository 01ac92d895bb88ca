#include "Twips.h"

#include <cmath>

namespace vm::widgets {

namespace {
double g_scale = 1.0 / 15.0;
}  // namespace

double twipScale() { return g_scale; }

void setLogicalDpi(double dpi)
{
    if (dpi > 0)
        g_scale = dpi / 96.0 / 15.0;
}

int twipsToPixels(int twips) { return static_cast<int>(std::lround(twips * g_scale)); }

double pixelsToTwips(double pixels) { return pixels / g_scale; }

QRect twipsRect(int left, int top, int width, int height)
{
    const int x = twipsToPixels(left);
    const int y = twipsToPixels(top);
    return QRect(x, y, twipsToPixels(left + width) - x, twipsToPixels(top + height) - y);
}

}  // namespace vm::widgets
