#include "platform/desktop/x11_window.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace platform
{

namespace
{

xcb_connection_t* connection()
{
    auto* app = qGuiApp;
    if (!app)
        return nullptr;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    const auto cookie = xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
    if (!reply)
        return XCB_ATOM_NONE;
    const xcb_atom_t a = reply->atom;
    std::free(reply);
    return a;
}

xcb_window_t rootOf(xcb_connection_t* c)
{
    const xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    return it.rem ? it.data->root : xcb_window_t{XCB_WINDOW_NONE};
}

// Asks the window manager to add a state to a mapped window.
void requestState(xcb_connection_t* c, xcb_window_t w, xcb_atom_t state, xcb_atom_t first, xcb_atom_t second)
{
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = w;
    ev.type = state;
    ev.data.data32[0] = 1; // _NET_WM_STATE_ADD
    ev.data.data32[1] = first;
    ev.data.data32[2] = second;
    ev.data.data32[3] = 1; // source: an application
    xcb_send_event(c, 0, rootOf(c), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&ev));
}

} // namespace

void setSkipTaskbar(QWidget* w)
{
    xcb_connection_t* c = connection();
    if (!c || !w)
        return;
    const auto win = static_cast<xcb_window_t>(w->winId());
    const xcb_atom_t state = atom(c, "_NET_WM_STATE");
    const xcb_atom_t skip = atom(c, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skip == XCB_ATOM_NONE)
        return;
    // The native window's visibility: while the widget is being shown it is
    // already visible, but not yet mapped.
    if (w->windowHandle()->isVisible()) {
        requestState(c, win, state, skip, XCB_ATOM_NONE);
    } else {
        // Withdrawn: the window manager reads the property when it maps the
        // window, and Qt keeps atoms that are already there.
        xcb_change_property(c, XCB_PROP_MODE_APPEND, win, state, XCB_ATOM_ATOM, 32, 1, &skip);
    }
    xcb_flush(c);
}

void keepAbove(QWidget* w)
{
    if (!w)
        return;
    // Changing flags would hide a shown window; shown ones get the request below.
    if (!w->isVisible())
        w->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    w->raise();
    xcb_connection_t* c = connection();
    if (!c || !w->isVisible())
        return;
    const xcb_atom_t state = atom(c, "_NET_WM_STATE");
    const xcb_atom_t above = atom(c, "_NET_WM_STATE_ABOVE");
    if (state == XCB_ATOM_NONE || above == XCB_ATOM_NONE)
        return;
    requestState(c, static_cast<xcb_window_t>(w->winId()), state, above, XCB_ATOM_NONE);
    xcb_flush(c);
}

void dropWindowIcon(QWidget* w)
{
    xcb_connection_t* c = connection();
    if (!c || !w)
        return;
    const xcb_atom_t icon = atom(c, "_NET_WM_ICON");
    if (icon == XCB_ATOM_NONE)
        return;
    xcb_delete_property(c, static_cast<xcb_window_t>(w->winId()), icon);
    xcb_flush(c);
}

QSize framedSize(QWidget* w)
{
    QWindow* h = w->windowHandle();
    if (!h || !connection())
        return w->frameGeometry().size();
    QElapsedTimer t;
    t.start();
    while (h->frameMargins().top() == 0 && t.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return w->size().grownBy(h->frameMargins());
}

QPoint framePosition(const QWidget* w)
{
    const QWindow* h = w->windowHandle();
    const QMargins m = h ? h->frameMargins() : QMargins();
    return w->geometry().topLeft() - QPoint(m.left(), m.top());
}

void askFramePosition(QWidget* w, const QPoint& at)
{
    xcb_connection_t* c = connection();
    if (!c || !w->windowHandle()) {
        w->move(at);
        return;
    }
    // Native pixels: a scaled screen keeps its origin and scales what lies beyond it.
    const QScreen* s = QGuiApplication::screenAt(at);
    if (!s)
        s = w->screen();
    const QPoint origin = s->geometry().topLeft();
    const QPoint native = origin + (at - origin) * s->devicePixelRatio();
    // With north-west gravity a position asked for is the frame's.
    const std::uint32_t xy[] = {static_cast<std::uint32_t>(native.x()),
                                static_cast<std::uint32_t>(native.y())};
    xcb_configure_window(c, static_cast<xcb_window_t>(w->winId()), XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y,
                         xy);
    xcb_flush(c);
}

} // namespace platform
