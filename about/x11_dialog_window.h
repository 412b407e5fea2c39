#pragma once
class QWidget;

namespace about {

// Keeps a top-level window out of the task bar. Must be called before every
// show: the window manager forgets the state when the window is withdrawn.
// Does nothing off X11.
void skipTaskbar(QWidget* w);
// Takes the icon off a top-level window even when the application has one
// (Qt falls back to the application's icon). Call it after every show.
void dropWindowIcon(QWidget* w);

} // namespace about
