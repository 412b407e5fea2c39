#pragma once
// Keeps windows from being lost to the window manager's minimise or "show
// desktop", which some window managers offer on every window whatever the
// program asks.
class QWidget;

namespace platform
{

// From now on, any modal window that gets minimised is restored at once:
// it blocks every other window of the program.
void keepModalWindowsShown();

// Makes the top-level companion transient for owner, so that window managers
// minimise and restore the two together, and restores companion whenever
// owner is activated, clicked or restored. Call once, after both are placed
// (it creates their native windows) and before companion is first shown.
void followOwner(QWidget* companion, QWidget* owner);

} // namespace platform
