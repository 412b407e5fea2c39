// The bus window as laid out: control geometry, hidden controls, focus
// routing, the pop-up menu and who opens it.
#include "app/form1.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

void expectRect(const platform::TwipControl* c, tw::Rect r, const char* name)
{
    SCOPED_TRACE(name);
    EXPECT_EQ(c->twRect(), r);
    EXPECT_EQ(c->geometry(), tw::toPixels(r));
}

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

// The title bar's buttons are checked on the real display (bus_window.sh);
// here what is in the window: who holds whom, which pictures stretch, the
// hidden panel and the sign list's patterns.
TEST(Form1Window, ControlsPicturesAndMenu)
{
    Form1 bus;
    EXPECT_EQ(bus.size(), QSize(664, 213));
    EXPECT_EQ(bus.minimumSize(), bus.maximumSize()) << "the bus cannot be resized";
    EXPECT_FALSE(bus.windowIcon().isNull());

    expectRect(bus.picSlideBase1, {4695, 690, 1140, 2235}, "picSlideBase1");
    expectRect(bus.Image2, {0, 0, 1140, 2250}, "Image2");
    EXPECT_EQ(bus.Image2->parentWidget(), bus.picSlideBase1);
    expectRect(bus.ImgDesiMaku, {0, 0, 780, 480}, "ImgDesiMaku");
    EXPECT_EQ(bus.ImgDesiMaku->parentWidget(), bus.Picture1);
    EXPECT_FALSE(bus.ImgDesiMaku->stretch()) << "the sign is shown at its own size";
    EXPECT_TRUE(bus.Image1[2]->stretch());
    EXPECT_TRUE(bus.Image1[1]->isHidden());
    EXPECT_EQ(bus.File1.pattern(), QStringLiteral("*.bmp;*.wmf;*.emf;*.gif;*.jpg;*.jpeg"));

    const auto actions = bus.MnuTempMenu1->actions();
    ASSERT_EQ(actions.size(), 5);
    EXPECT_EQ(actions[0], bus.MnuViewKanban);
    EXPECT_EQ(actions[1], bus.MnuViewWaku);
    for (QAction* a : {actions[0], actions[1]})
        EXPECT_TRUE(a->isCheckable() && a->isChecked());
    EXPECT_TRUE(actions[3]->isSeparator());
    EXPECT_EQ(actions[4]->text(), QStringLiteral("看板のリセット"));
}

TEST(Form1Window, OnlyTheRightButtonOnTheBusOpensTheMenu)
{
    Form1 bus;
    bus.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bus));
    const QPoint body(200, 200); // the bus body, no control there
    ASSERT_EQ(bus.childAt(body), nullptr);
    EXPECT_TRUE(opensPopup([&] { QTest::mousePress(&bus, Qt::RightButton, {}, body); }));
    EXPECT_FALSE(opensPopup([&] { QTest::mouseClick(&bus, Qt::LeftButton, {}, body); }));
    EXPECT_FALSE(opensPopup([&] { QTest::mouseClick(&bus, Qt::MiddleButton, {}, body); }));
    // A right press on a door or the sign is the control's, not the bus's.
    EXPECT_FALSE(opensPopup([&] { QTest::mousePress(bus.Image1[2], Qt::RightButton, {}, {5, 5}); }));
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
