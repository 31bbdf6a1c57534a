#include "ui/menu_wnd.h"

#include "ui/dialog_builder.h"
#include "ui/window_impl_base.h"

#include <QAction>
#include <QMenu>

namespace {

void DeliverChoice(QPointer<WindowImplBase> owner, QAction* action)
{
    if (!owner || action->menu())
        return;
    const MenuCmd command{action->objectName(), action->property("userdata").toString(), action->text(),
                          action->isChecked()};
    SendWindowMessage(owner->GetHWND(), WM_MENUCLICK, reinterpret_cast<WPARAM>(&command), 0);
}

QPoint AlignedOrigin(QPoint point, QSize size, CMenuWnd::Align align)
{
    const bool right = align == CMenuWnd::kAlignRightTop || align == CMenuWnd::kAlignRightBottom;
    const bool bottom = align == CMenuWnd::kAlignLeftBottom || align == CMenuWnd::kAlignRightBottom;
    return QPoint(right ? point.x() - size.width() : point.x(), bottom ? point.y() - size.height() : point.y());
}

}  // namespace

CMenuWnd::~CMenuWnd()
{
    Close();
}

bool CMenuWnd::Init(WindowImplBase* owner, const QString& layout, QPoint point, Align align)
{
    Close();
    QWidget* built = CDialogBuilder::Create(layout, nullptr, owner);
    auto* menu = qobject_cast<QMenu*>(built);
    if (!menu) {
        delete built;
        return false;
    }
    m_menu = menu;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<WindowImplBase> guard(owner);
    QObject::connect(menu, &QMenu::triggered, menu, [guard](QAction* action) { DeliverChoice(guard, action); });
    menu->popup(AlignedOrigin(point, menu->sizeHint(), align));
    return true;
}

void CMenuWnd::Close()
{
    if (m_menu)
        m_menu->close();
    m_menu = nullptr;
}

bool CMenuWnd::IsOpen() const
{
    return m_menu && m_menu->isVisible();
}
