#pragma once
// Window-manager state Qt does not set on X11. Without an xcb connection
// (offscreen tests, other platforms) every call does nothing.
class QSize;
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

// The outer size of a shown top-level window, frame included, once the
// window manager has framed it (waiting up to 2 s, as there may be none).
// QWidget::frameGeometry() can lag behind: Qt takes the frame into it only
// with the next move of the window, which some window managers send later.
QSize framedSize(QWidget* w);

} // namespace platform
