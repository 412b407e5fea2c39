// The bus window's handling of the mouse: who opens the pop-up menu, and
// which clicks give the sign the keyboard. How it looks is the window
// pictures' business.
#include "tests/support/bus.h"

namespace {

// Runs f and reports whether a pop-up menu opened meanwhile (closing it again).
template <typename F> bool opensPopup(F f)
{
    bool seen = false;
    QTimer::singleShot(50, [&] {
        if (QWidget* p = QApplication::activePopupWidget()) {
            seen = true;
            p->close();
        }
    });
    f();
    QTest::qWait(100);
    return seen;
}

} // namespace

// The right button on the bus body or the signboard opens the menu; other
// buttons, and presses on the doors, do not.
TEST(Form1Window, WhoOpensTheMenu)
{
    Form1 bus;
    bus.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bus));
    const QPoint body(200, 200); // the bus body, no control there
    ASSERT_EQ(bus.childAt(body), nullptr);
    const struct {
        QWidget* target;
        QPoint at;
        Qt::MouseButton button;
        bool opens;
    } rows[] = {
        {&bus, body, Qt::RightButton, true},          {&bus, body, Qt::LeftButton, false},
        {&bus, body, Qt::MiddleButton, false},        {bus.Image1[2], {5, 5}, Qt::RightButton, false},
        {bus.PicKanban, {5, 5}, Qt::RightButton, true}, {bus.PicKanban, {5, 5}, Qt::MiddleButton, false},
    };
    for (const auto& r : rows)
        EXPECT_EQ(opensPopup([&] { QTest::mousePress(r.target, r.button, {}, r.at); }), r.opens)
            << r.target->metaObject()->className() << " " << r.button;
}

TEST(Form1Window, ClicksOnDoorAndSignGiveTheSignTheKeyboard)
{
    Form1 bus;
    bus.show();
    QApplication::setActiveWindow(&bus);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&bus));

    // Tab order among the focusable controls.
    auto nextTabStop = [](QWidget* w) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
        return w;
    };
    EXPECT_EQ(nextTabStop(bus.Picture1), bus.PicKanban);
    EXPECT_EQ(nextTabStop(bus.PicKanban), bus.picSlideBase1);
    EXPECT_EQ(nextTabStop(bus.picSlideBase1), bus.Picture1);

    struct Row {
        const char* what;
        QWidget* target;
        bool routes;
    } rows[] = {
        {"front door", bus.Image1[2], true},
        {"sign image", bus.ImgDesiMaku, true},
        {"middle door box", bus.picSlideBase1, false},
        {"middle door leaf", bus.Image2, false},
        {"signboard", bus.PicKanban, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        bus.setFocus();
        ASSERT_FALSE(bus.Picture1->hasFocus());
        QTest::mouseClick(r.target, Qt::LeftButton, {}, {2, 2});
        EXPECT_EQ(bus.Picture1->hasFocus(), r.routes);
    }
    // Picture1 itself, with the sign image out of the way.
    bus.setFocus();
    bus.ImgDesiMaku->hide();
    QTest::mouseClick(bus.Picture1, Qt::LeftButton, {}, {1, 1});
    EXPECT_TRUE(bus.Picture1->hasFocus());
}
