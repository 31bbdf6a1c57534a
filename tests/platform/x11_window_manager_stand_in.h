#pragma once
// Plays the window manager on the X server of $DISPLAY (Xvfb): one window of
// a given process, named as the active window on the root window.

#include "platform/x11_atom.h"

#include <cstdint>
#include <sys/types.h>

class X11WindowManagerStandIn {
public:
    X11WindowManagerStandIn() : m_connection(xcb_connect(nullptr, nullptr))
    {
        if (!IsConnected())
            return;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        m_window = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, m_root, 0, 0, 10, 10, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    }
    ~X11WindowManagerStandIn()
    {
        if (IsConnected()) {
            Deactivate();
            xcb_destroy_window(m_connection, m_window);
            xcb_flush(m_connection);
        }
        xcb_disconnect(m_connection);
    }
    X11WindowManagerStandIn(const X11WindowManagerStandIn&) = delete;
    X11WindowManagerStandIn& operator=(const X11WindowManagerStandIn&) = delete;

    bool IsConnected() const { return xcb_connection_has_error(m_connection) == 0; }

    // The window belongs to `pid` and is the active one. A window manager
    // names it as a WINDOW; a hand-set property may be a CARDINAL.
    void ActivateWindowOf(pid_t pid, xcb_atom_t type = XCB_ATOM_WINDOW)
    {
        const uint32_t value = static_cast<uint32_t>(pid);
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_window, InternX11Atom(m_connection, "_NET_WM_PID"), XCB_ATOM_CARDINAL,
                            32, 1, &value);
        SetActive(m_window, type);
    }
    // No window is active.
    void Deactivate() { SetActive(XCB_WINDOW_NONE, XCB_ATOM_WINDOW); }

private:
    void SetActive(uint32_t window, xcb_atom_t type)
    {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_root, InternX11Atom(m_connection, "_NET_ACTIVE_WINDOW"), type,
                            32, 1, &window);
        xcb_flush(m_connection);
    }

    xcb_connection_t* m_connection;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    xcb_window_t m_window = XCB_WINDOW_NONE;
};
