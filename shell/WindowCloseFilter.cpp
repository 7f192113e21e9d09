#include "WindowCloseFilter.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>

#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace {

uint32_t InternAtom(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie
        = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const uint32_t atom = reply ? reply->atom : 0;
    std::free(reply);
    return atom;
}

} // namespace

WindowCloseFilter::WindowCloseFilter(const QWidget& window, std::function<void()> onBlockedClose)
    : WindowCloseFilter(window, AtomsOfTheDisplay(), std::move(onBlockedClose))
{
}

WindowCloseFilter::WindowCloseFilter(const QWidget& window, Atoms atoms, std::function<void()> onBlockedClose)
    : window(window), atoms(atoms), onBlockedClose(std::move(onBlockedClose))
{
}

WindowCloseFilter::Atoms WindowCloseFilter::AtomsOfTheDisplay()
{
    const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return {};
    return {InternAtom(x11->connection(), "WM_PROTOCOLS"), InternAtom(x11->connection(), "WM_DELETE_WINDOW")};
}

bool WindowCloseFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t" || atoms.protocols == 0)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE)
        return false;
    const auto* client = static_cast<const xcb_client_message_event_t*>(message);
    const bool closeRequest = client->format == 32 && client->type == atoms.protocols
        && client->data.data32[0] == atoms.deleteWindow;
    if (!closeRequest || client->window != window.winId() || !QApplication::activeModalWidget())
        return false;
    onBlockedClose();
    return true;
}
