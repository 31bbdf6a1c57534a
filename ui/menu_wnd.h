#pragma once
// Popup menus built from layouts: a ".ui" file whose top widget is a QMenu
// (its <action> entries are the items; the action's objectName is the item
// name, its "userdata" property the user data, sub-QMenus are sub-menus;
// texts may be text identifiers).
// A chosen item reaches the owner's HandleMessage as WM_MENUCLICK with
// wParam = a const MenuCmd* valid during the call.

#include "platform/window_messages.h"

#include <QPoint>
#include <QPointer>
#include <QString>

class QMenu;
class WindowImplBase;

constexpr UINT WM_MENUCLICK = WM_USER + 121;  // 1145

struct MenuCmd {
    QString szName;
    QString szUserData;
    QString szText;
    bool bChecked = false;
};

class CMenuWnd {
public:
    // Which corner of the menu sits at the point.
    enum Align { kAlignLeftTop, kAlignRightTop, kAlignLeftBottom, kAlignRightBottom };

    CMenuWnd() = default;
    ~CMenuWnd();
    CMenuWnd(const CMenuWnd&) = delete;
    CMenuWnd& operator=(const CMenuWnd&) = delete;

    // Builds the menu and opens it at point (screen coordinates), without
    // blocking. False when the layout is missing or not a menu.
    bool Init(WindowImplBase* owner, const QString& layout, QPoint point, Align align = kAlignLeftTop);
    void Close();
    bool IsOpen() const;
    QMenu* Menu() const { return m_menu.data(); }

private:
    QPointer<QMenu> m_menu;
};
