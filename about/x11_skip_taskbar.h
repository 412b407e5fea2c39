#pragma once
class QWidget;

namespace about {

// Keeps a top-level window out of the task bar. Must be called before every
// show: the window manager forgets the state when the window is withdrawn.
// Does nothing off X11.
void skipTaskbar(QWidget* w);

} // namespace about
