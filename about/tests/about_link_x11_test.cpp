// The version box on a real X display: the window manager's view of it, and
// the link handing the maker's address to the desktop's handler once per
// click. version_link.sh puts a recording stand-in for xdg-open on PATH.
#include "about/frmshowversion.h"
#include "app/form1.h"
#include "assets/assets.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <xcb/xcb.h>

namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    auto* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::string(name).size()), name),
                                    nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
    free(r);
    return a;
}

// The 32-bit values of a property of any type; empty when it is absent.
std::vector<uint32_t> values(xcb_connection_t* c, xcb_window_t w, const char* property)
{
    std::vector<uint32_t> out;
    auto* r = xcb_get_property_reply(
        c, xcb_get_property(c, 0, w, atom(c, property), XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr);
    if (r && r->format == 32) {
        const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(r));
        out.assign(v, v + xcb_get_property_value_length(r) / 4);
    }
    free(r);
    return out;
}

bool has(const std::vector<uint32_t>& v, xcb_atom_t a) { return std::find(v.begin(), v.end(), a) != v.end(); }

QStringList recorded()
{
    QFile f(qEnvironmentVariable("KURURINA_XDG_RECORD"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

TEST(VersionBoxOnX11, ModalOutOfTheTaskBarAndOpensTheAddressPerClick)
{
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    ASSERT_NE(x11, nullptr) << "needs the xcb platform";
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("KURURINA_XDG_RECORD"));
    xcb_connection_t* c = x11->connection();

    // The program's icon is everywhere else; the box must still go without.
    qApp->setWindowIcon(assets::appIcon());
    Form1 bus;
    bool ran = false;
    QTimer::singleShot(0, qApp, [&] {
        auto* box = qobject_cast<frmShowVersion*>(QApplication::activeModalWidget());
        EXPECT_NE(box, nullptr);
        if (!box)
            return;
        ran = true;
        EXPECT_TRUE(QTest::qWaitForWindowExposed(box));
        QTest::qWait(200); // let the window manager settle its state
        const auto state = values(c, static_cast<xcb_window_t>(box->winId()), "_NET_WM_STATE");
        EXPECT_TRUE(has(state, atom(c, "_NET_WM_STATE_SKIP_TASKBAR")));
        EXPECT_TRUE(has(state, atom(c, "_NET_WM_STATE_MODAL")));
        const auto type = values(c, static_cast<xcb_window_t>(box->winId()), "_NET_WM_WINDOW_TYPE");
        EXPECT_TRUE(has(type, atom(c, "_NET_WM_WINDOW_TYPE_DIALOG")));
        const xcb_window_t id = static_cast<xcb_window_t>(box->winId());
        // openbox puts its own 48 x 48 default on a window without an icon;
        // ours would be the 32 x 32 program icon.
        const auto icon = values(c, id, "_NET_WM_ICON");
        EXPECT_TRUE(icon.size() < 2 || icon[0] != 32 || icon[1] != 32) << "the box carries the program's icon";
        // Motif hints: functions given, and CLOSE (0x20) not among them.
        const auto motif = values(c, id, "_MOTIF_WM_HINTS");
        ASSERT_GE(motif.size(), 2u);
        EXPECT_TRUE(motif[0] & 1u);
        EXPECT_EQ(motif[1] & 0x20u, 0u) << "the box offers a close box";
        // Fixed size: minimum and maximum equal the client area (WM_NORMAL_HINTS fields 5..8).
        const auto sizeHints = values(c, id, "WM_NORMAL_HINTS");
        ASSERT_GE(sizeHints.size(), 9u);
        EXPECT_EQ(std::vector<uint32_t>(sizeHints.begin() + 5, sizeHints.begin() + 9),
                  (std::vector<uint32_t>{333, 223, 333, 223}));

        QTest::mouseClick(box->Label5, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([] { return recorded().size() >= 1; }, 10000));
        QTest::mouseClick(box->Label5, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([] { return recorded().size() >= 2; }, 10000));
        EXPECT_EQ(recorded(), QStringList({QStringLiteral(KURURINA_HP_URL), QStringLiteral(KURURINA_HP_URL)}));
        EXPECT_TRUE(box->isVisible());
        QTest::mouseClick(box->Command1, Qt::LeftButton);
    });
    bus.MnuHelpVer_Click();
    EXPECT_TRUE(ran);
}
