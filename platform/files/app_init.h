#pragma once

namespace platform
{

// Before the application object exists: pins the executable's path (the
// settings file is named after it), and under X11 (and XWayland, where
// DISPLAY is set) picks Qt's xcb platform, so that window positions and
// stacking work; a platform the user chose is kept.
void prepareApplication();

// After the application object exists: makes Qt's own dialogs and menus
// Japanese. False when Qt's Japanese translations are not installed
// (those texts then stay in English; nothing else changes).
bool initInterface();

} // namespace platform
