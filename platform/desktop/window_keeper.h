#pragma once
// Keeps windows from being lost: to the window manager's minimise or "show
// desktop", which some window managers offer on every window whatever the
// program asks, and to screens that are no longer there.
class QWidget;

namespace platform
{

// From now on, every modal window of the program (the boxes, message boxes,
// Qt's dialogs) is kept with the window it belongs to: made transient for it
// as it is shown, so that window managers keep it above that window and with
// it, out of the task bar; and restored at once when it gets minimised, as it
// blocks every other window. It belongs to its parent widget's window, or, while
// another modal window is open, to that one: it was opened from there, and
// beneath it could not be reached.
void keepModalWindowsShown();

// Makes the top-level companion transient for owner, so that window managers
// minimise and restore the two together, and restores companion whenever
// owner is activated, clicked or restored. Call once, after both are placed
// (it creates their native windows) and before companion is first shown.
void followOwner(QWidget* companion, QWidget* owner);

// Keeps a top-level window where it can be seen and grabbed (reachablePlace):
// a place it could not be reached at is corrected before it is shown, as far
// as that can be judged before the window manager has framed it, and once
// more with its frame; a place it can be reached at is kept exactly. From then
// on, whenever a screen goes away or gets smaller, the window moves if that
// left it out of reach. Call once, after the window is placed and before it
// is first shown (before anything creates its native window).
void keepReachable(QWidget* w);

} // namespace platform
