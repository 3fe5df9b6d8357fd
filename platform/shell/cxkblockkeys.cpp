#include "platform/shell/cxkblockkeys.h"

#include <QGuiApplication>

#include <xcb/xcb.h>
// The XKB header names a member "explicit", which C++ reserves.
#define explicit xkb_explicit
#include <xcb/xkb.h>
#undef explicit

#include <cstdlib>
#include <memory>
#include <string>

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply>;

xcb_connection_t* ApplicationConnection() {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    return x11 != nullptr ? x11->connection() : nullptr;
}

bool HasXkb(xcb_connection_t* c) {
    const Reply<xcb_xkb_use_extension_reply_t> reply(xcb_xkb_use_extension_reply(
        c, xcb_xkb_use_extension(c, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION), nullptr));
    return reply != nullptr && reply->supported != 0;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    const auto length = static_cast<uint16_t>(std::char_traits<char>::length(name));
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, length, name), nullptr));
    return reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

} // namespace

CXkbLockKeys::CXkbLockKeys() {
    xcb_connection_t* c = ApplicationConnection();
    if (c == nullptr || xcb_connection_has_error(c) != 0 || !HasXkb(c)) {
        return;
    }
    connection = c;
    names = {Atom(c, "Caps Lock"), Atom(c, "Num Lock"), Atom(c, "Scroll Lock")};
}

bool CXkbLockKeys::IndicatorOn(uint32_t atom) const {
    if (atom == XCB_ATOM_NONE) {
        return false;
    }
    const Reply<xcb_xkb_get_named_indicator_reply_t> reply(xcb_xkb_get_named_indicator_reply(
        connection,
        xcb_xkb_get_named_indicator(connection, XCB_XKB_ID_USE_CORE_KBD,
                                    XCB_XKB_LED_CLASS_DFLT_XI_CLASS, XCB_XKB_ID_DFLT_XI_ID, atom),
        nullptr));
    return reply != nullptr && reply->found != 0 && reply->on != 0;
}

LockKeys CXkbLockKeys::Read() {
    if (connection == nullptr) {
        return {};
    }
    return {IndicatorOn(names[0]), IndicatorOn(names[1]), IndicatorOn(names[2])};
}
