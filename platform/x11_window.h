#pragma once
// Window-manager state Qt does not set on X11. Without an xcb connection
// (offscreen tests, other platforms) every call does nothing.
class QWidget;

namespace platform
{

// Gives the top-level window no task-bar entry. Call before every show: the
// window manager drops the state when the window is withdrawn. Creates the
// native window, so move() the widget first.
void setSkipTaskbar(QWidget* w);

// Keeps a shown top-level above all other windows and raises it.
void keepAbove(QWidget* w);

// Takes the icon off a top-level window even when the application has one
// (Qt falls back to the application's icon). Qt writes the icon while it maps
// the window, so call this after every show.
void dropWindowIcon(QWidget* w);

} // namespace platform
