#include "platform/Present.h"

#include <cmath>

TScreenArea FitScreenArea(int windowWidth, int windowHeight, int logicalWidth, int logicalHeight) {
    TScreenArea area;
    if (windowWidth <= 0 || windowHeight <= 0 || logicalWidth <= 0 || logicalHeight <= 0) {
        return area;
    }
    // Compare the aspect ratios in integers so that an exact 4:3 window fills without a bar.
    const int64_t wide = int64_t{windowWidth} * logicalHeight;
    const int64_t tall = int64_t{windowHeight} * logicalWidth;
    if (wide >= tall) {
        area.Height = windowHeight;
        area.Width = static_cast<int>(tall / logicalHeight);
        area.Scale = static_cast<double>(windowHeight) / logicalHeight;
    } else {
        area.Width = windowWidth;
        area.Height = static_cast<int>(wide / logicalWidth);
        area.Scale = static_cast<double>(windowWidth) / logicalWidth;
    }
    area.X = (windowWidth - area.Width) / 2;
    area.Y = (windowHeight - area.Height) / 2;
    return area;
}
