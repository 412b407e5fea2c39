#pragma once

namespace platform {

// Before the application object exists: pins the executable's path (the
// settings file is named after it), and under X11 (and XWayland, where
// DISPLAY is set) picks Qt's xcb platform, so that window positions and
// stacking work; a platform the user chose is kept.
void prepareApplication();

// After the application object exists: map the layout's Japanese font names
// onto the metric-compatible IPA Gothic fonts.
void initFonts();

} // namespace platform
