#pragma once
// The built-in pictures and sounds. Each picture has exactly the pixel size
// the window layouts expect, in device-independent pixels; each also comes
// rendered at twice that resolution for screens with a device pixel ratio
// above 1 (tagged with device pixel ratio 2, so it draws at the same size).
#include <QByteArray>
#include <QCursor>
#include <QIcon>
#include <QImage>

namespace assets
{

enum class Resolution {
    ForScreens, // Double when the application's device pixel ratio is above 1, else Normal
    Normal,
    Double,
};

QImage busBody(Resolution r = Resolution::ForScreens);          // 665 x 212, the bus from its left side
QImage frontDoor(Resolution r = Resolution::ForScreens);        // 73 x 148, the folding front door
QImage middleDoor(Resolution r = Resolution::ForScreens);       // 76 x 150, the sliding middle-door leaf
QImage doorwayView(Resolution r = Resolution::ForScreens);      // 76 x 151, seen through the middle doorway
QImage defaultSign(Resolution r = Resolution::ForScreens);      // 52 x 32, shown until a sign is loaded
QImage greyPanel(Resolution r = Resolution::ForScreens);        // 42 x 137, grey with one orange bar
QImage appIconImage(Resolution r = Resolution::ForScreens);     // 32 x 32, 16 colours
QIcon appIcon();                                                // 32 x 32 and 64 x 64
QImage frontDoorSwitch(Resolution r = Resolution::ForScreens);  // 50 x 20, decoded from the built-in GIF
QImage middleDoorSwitch(Resolution r = Resolution::ForScreens); // 50 x 20, decoded from the built-in GIF
// 32 x 32 with its hot spot at (12, 1); Double is 64 x 64 with the hot spot
// at (24, 2), as X11 takes cursor pixmaps in device pixels.
QCursor linkCursor(Resolution r = Resolution::ForScreens);
// The RIFF/WAVE image of a built-in sound (101 or 102); empty for any other number.
QByteArray wave(int number);

} // namespace assets
