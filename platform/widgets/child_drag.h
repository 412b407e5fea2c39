#pragma once
// Moves a child control with the pointer while the left button stays down,
// the way a window manager's move loop would: started from the press handler,
// it ends by itself at the release and runs nothing there. The control is kept
// inside its parent's client area; its twip Left/Top follow each move.
#include <QPoint>

namespace platform
{

class TwipControl;

// grab: the pressed point in the control's own pixels.
void beginChildDrag(TwipControl* control, QPoint grab);

} // namespace platform
