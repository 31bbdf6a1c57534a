#pragma once
// The number the X server gives a name, made when it has none yet;
// XCB_ATOM_NONE when the server does not answer.

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

inline xcb_atom_t InternX11Atom(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply == nullptr ? xcb_atom_t{XCB_ATOM_NONE} : reply->atom;
    std::free(reply);
    return atom;
}
