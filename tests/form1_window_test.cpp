// The bus window's handling of the mouse: the right button on the body or
// the signboard opens the menu, no other press does; clicks on the front
// door, the sign and its box give the sign the keyboard, no other click does.
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
        {&bus, Qt::RightButton, true, false},          {&bus, Qt::LeftButton, false, false},
        {&bus, Qt::MiddleButton, false, false},        {bus.PicKanban, Qt::RightButton, true, false},
        {bus.PicKanban, Qt::MiddleButton, false, false}, {bus.Image1[2], Qt::RightButton, false, false},
        {bus.Image1[2], Qt::LeftButton, false, true},  {bus.ImgDesiMaku, Qt::LeftButton, false, true},
        {bus.Picture1, Qt::LeftButton, false, true},   {bus.picSlideBase1, Qt::LeftButton, false, false},
        {bus.Image2, Qt::LeftButton, false, false},    {bus.PicKanban, Qt::LeftButton, false, false},
    };
    for (const auto& r : rows) {
        bus.setFocus();
        bool menu = false;
        QTimer::singleShot(50, [&] {
            if (QWidget* p = QApplication::activePopupWidget())
                menu = p->close();
        });
        // The body has no control at 200,200; the sign's box is clear of the image at 40,20.
        const QPoint at = r.target == &bus ? QPoint(200, 200) : r.target == bus.Picture1 ? QPoint(40, 20) : QPoint(5, 5);
        QTest::mouseClick(r.target, r.button, {}, at);
        QTest::qWait(100);
        EXPECT_EQ(menu, r.menu) << r.target->metaObject()->className() << " " << r.button;
        EXPECT_EQ(bus.Picture1->hasFocus(), r.keyboard) << r.target->metaObject()->className() << " " << r.button;
    }
}
