#pragma once
// The one rule that keeps a window where it can be seen and grabbed, for the
// places saved in the settings file and for windows a screen left behind.
// Plain rectangles in pixels; no window here.
#include <QRect>
#include <vector>

namespace platform
{

// Where a window goes whose outer frame would be `frame`, its title bar the top
// titleHeight pixels of it (0: none), on screens whose usable areas are
// `screens`. A window that shows at least a quarter of itself on one screen,
// and on one screen a strip of its title bar wide enough to grab and at least
// half as tall as the bar, stays exactly where it is, partly off an edge or
// not. Any other moves wholly onto the nearest screen that can hold it, as
// little as it takes (when none can, its top-left corner onto the nearest).
// Without screens it stays.
QRect reachablePlace(const QRect& frame, int titleHeight, const std::vector<QRect>& screens);

} // namespace platform
