// The bus window's handling of the mouse and keys: the right button on the
// body or the signboard opens the menu, no other press does; clicks on the
// front door, the sign and its box give the sign the keyboard, no other click
// does; on the sign only Up and Down step.
#include "tests/support/bus.h"

TEST(Form1Window, WhoOpensTheMenuAndWhoGivesTheSignTheKeyboard)
{
    Form1 bus;
    bus.show();
    QApplication::setActiveWindow(&bus);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&bus));
    bus.ImgDesiMaku->resize(30, 10);
    const struct {
        QWidget* target;
        Qt::MouseButton button;
        bool menu, keyboard;
    } rows[] = {
        {&bus, Qt::RightButton, true, false},
        {&bus, Qt::LeftButton, false, false},
        {&bus, Qt::MiddleButton, false, false},
        {bus.PicKanban, Qt::RightButton, true, false},
        {bus.PicKanban, Qt::MiddleButton, false, false},
        {bus.Image1[2], Qt::RightButton, false, false},
        {bus.Image1[2], Qt::LeftButton, false, true},
        {bus.ImgDesiMaku, Qt::LeftButton, false, true},
        {bus.Picture1, Qt::LeftButton, false, true},
        {bus.picSlideBase1, Qt::LeftButton, false, false},
        {bus.Image2, Qt::LeftButton, false, false},
        {bus.PicKanban, Qt::LeftButton, false, false},
    };
    for (const auto& r : rows) {
        QApplication::setActiveWindow(&bus); // the offscreen platform may leave none after a menu
        bus.setFocus();
        // The body has no control at 200,200; the sign's box is clear of the image at 40,20.
        const QPoint at = r.target == &bus           ? QPoint(200, 200)
                          : r.target == bus.Picture1 ? QPoint(40, 20)
                                                     : QPoint(5, 5);
        SCOPED_TRACE(testing::Message() << r.target->metaObject()->className() << " " << r.button);
        EXPECT_EQ(testing_support::opensPopup([&] { QTest::mouseClick(r.target, r.button, {}, at); }),
                  r.menu);
        EXPECT_EQ(bus.Picture1->hasFocus(), r.keyboard);
    }

    // Only Up and Down step (through an empty folder, too): the position after each key.
    QTemporaryDir dir;
    bus.signFolderPath = dir.path();
    ASSERT_TRUE(bus.picDir());
    const std::pair<Qt::Key, int> keys[] = {{Qt::Key_Down, 1}, {Qt::Key_Down, 2}, {Qt::Key_Right, 2},
                                            {Qt::Key_Left, 2}, {Qt::Key_8, 2},    {Qt::Key_Up, 1}};
    for (const auto& [key, position] : keys) {
        QTest::keyClick(bus.Picture1, key);
        EXPECT_EQ(bus.signStepper.position(), position) << key;
    }
}
