#pragma once
// The built-in pictures and sounds. Each picture has exactly the pixel size
// the window layouts expect (device-independent pixels; sharper on HiDPI).
#include <QByteArray>
#include <QCursor>
#include <QIcon>
#include <QImage>

namespace assets {

QImage busBody();          // 665 x 212, the bus seen from its left side
QImage frontDoor();        // 73 x 148, the folding front door
QImage middleDoor();       // 76 x 150, the sliding middle-door leaf
QImage doorwayView();      // 76 x 151, the view through the middle doorway
QImage defaultSign();      // 52 x 32, the sign before a sign picture is loaded
QImage greyPanel();        // 42 x 137, the hidden panel with one orange bar
QImage appIconImage();     // 32 x 32, 16 colours
QIcon appIcon();
QImage frontDoorSwitch();  // 50 x 20, decoded from the built-in GIF
QImage middleDoorSwitch(); // 50 x 20, decoded from the built-in GIF
QCursor linkCursor();      // 32 x 32, hot spot (12, 1)
// The RIFF/WAVE image of a built-in sound (101 or 102); empty for any other number.
QByteArray wave(int number);

} // namespace assets
