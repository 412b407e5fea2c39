#include "about/x11_dialog_window.h"

#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <string>
#include <xcb/xcb.h>

namespace about {

namespace {
xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    const auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::char_traits<char>::length(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return a;
}

xcb_connection_t* connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}
} // namespace

void skipTaskbar(QWidget* w)
{
    xcb_connection_t* c = connection();
    if (!c)
        return;
    const xcb_atom_t state = atom(c, "_NET_WM_STATE");
    const xcb_atom_t skip = atom(c, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skip == XCB_ATOM_NONE)
        return;
    // Qt keeps atoms already present when it writes its own state at map time.
    xcb_change_property(c, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(w->winId()), state, XCB_ATOM_ATOM, 32, 1,
                        &skip);
    xcb_flush(c);
}

void dropWindowIcon(QWidget* w)
{
    xcb_connection_t* c = connection();
    if (!c)
        return;
    const xcb_atom_t icon = atom(c, "_NET_WM_ICON");
    if (icon == XCB_ATOM_NONE)
        return;
    xcb_delete_property(c, static_cast<xcb_window_t>(w->winId()), icon);
    xcb_flush(c);
}

} // namespace about
