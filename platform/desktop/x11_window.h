#pragma once
// Window-manager state Qt does not set on X11, and where the window manager
// has put a window. Without an xcb connection (offscreen tests, other
// platforms) each call does nothing, or what Qt alone can.
class QPoint;
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

// The top-left corner of a top-level window's outer frame: its client area
// less the frame the window manager drew, as far as the window manager has
// told (before that, where it was put). QWidget::frameGeometry() can lag.
QPoint framePosition(const QWidget* w);

// Asks the window manager to put a shown top-level window's outer frame at
// at, leaving Qt's idea of the window alone until the window manager answers:
// some refuse a place partly off the screens without a word, and Qt would
// then hold a place the window is not at. Off X11 the window is simply moved.
void askFramePosition(QWidget* w, const QPoint& at);

} // namespace platform
