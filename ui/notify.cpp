#include "ui/notify.h"

#include "ui/window_impl_base.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTextEdit>

namespace {

const char* const kHookedProperty = "kestrovaNotifyHooked";
const char* const kLastIndexProperty = "kestrovaLastIndex";
const char* const kVirtualWndProperty = "virtualwnd";
constexpr int kCheckStateRole = Qt::UserRole + 100;

QString VirtualWndOf(const QObject* sender, const WindowImplBase* window)
{
    for (const QObject* object = sender; object && object != window; object = object->parent()) {
        const QString name = object->property(kVirtualWndProperty).toString();
        if (!name.isEmpty())
            return name;
    }
    return {};
}

// Raises "setfocus" and "killfocus" for the edits.
class FocusNotifier : public QObject {
public:
    static FocusNotifier& Instance()
    {
        static FocusNotifier notifier;
        return notifier;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn)
            SendNotify(watched, QStringLiteral("setfocus"));
        else if (event->type() == QEvent::FocusOut)
            SendNotify(watched, QStringLiteral("killfocus"));
        return false;
    }
};

void Raise(QObject* sender, const char* type, WPARAM wParam = 0, LPARAM lParam = 0)
{
    SendNotify(sender, QString::fromLatin1(type), wParam, lParam);
}

void HookButton(QAbstractButton* button)
{
    QObject::connect(button, &QAbstractButton::clicked, button, [button] { Raise(button, "click"); });
    QObject::connect(button, &QAbstractButton::toggled, button,
                     [button](bool checked) { Raise(button, "selectchanged", checked ? 1 : 0); });
}

void HookCombo(QComboBox* combo)
{
    combo->setProperty(kLastIndexProperty, combo->currentIndex());
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [combo](int index) {
        const int old = combo->property(kLastIndexProperty).toInt();
        combo->setProperty(kLastIndexProperty, index);
        Raise(combo, "itemselect", static_cast<WPARAM>(index), old);
    });
}

void HookSlider(QAbstractSlider* slider)
{
    QObject::connect(slider, &QAbstractSlider::sliderMoved, slider,
                     [slider](int value) { Raise(slider, "movevaluechanged", static_cast<WPARAM>(value)); });
    QObject::connect(slider, &QAbstractSlider::sliderReleased, slider,
                     [slider] { Raise(slider, "valuechanged", static_cast<WPARAM>(slider->value())); });
    QObject::connect(slider, &QAbstractSlider::valueChanged, slider, [slider](int value) {
        if (!slider->isSliderDown())
            Raise(slider, "valuechanged", static_cast<WPARAM>(value));
    });
}

void HookLineEdit(QLineEdit* edit)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit] { Raise(edit, "textchanged"); });
    QObject::connect(edit, &QLineEdit::returnPressed, edit, [edit] { Raise(edit, "return"); });
    edit->installEventFilter(&FocusNotifier::Instance());
}

void HookList(QListWidget* list)
{
    QObject::connect(list, &QListWidget::currentRowChanged, list, [list](int row) {
        const int old = list->property(kLastIndexProperty).toInt();
        list->setProperty(kLastIndexProperty, row);
        Raise(list, "itemselect", static_cast<WPARAM>(row), old);
    });
    list->setProperty(kLastIndexProperty, list->currentRow());
    QObject::connect(list, &QListWidget::itemClicked, list,
                     [list](QListWidgetItem* item) { Raise(list, "itemclick", static_cast<WPARAM>(list->row(item))); });
    QObject::connect(list, &QListWidget::itemActivated, list,
                     [list](QListWidgetItem* item) { Raise(list, "itemactivate", static_cast<WPARAM>(list->row(item))); });
    // itemChanged also fires for text changes; only a new check state counts.
    QObject::connect(list, &QListWidget::itemChanged, list, [list](QListWidgetItem* item) {
        if (!(item->flags() & Qt::ItemIsUserCheckable))
            return;
        const int state = item->checkState();
        const QVariant last = item->data(kCheckStateRole);
        if (last.isValid() && last.toInt() == state)
            return;
        item->setData(kCheckStateRole, state);
        if (last.isValid())
            Raise(list, "checkclick", static_cast<WPARAM>(list->row(item)), state == Qt::Checked ? 1 : 0);
    });
}

void HookOne(QWidget* widget)
{
    const QString name = widget->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || widget->property(kHookedProperty).toBool())
        return;
    widget->setProperty(kHookedProperty, true);
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        HookButton(button);
    else if (auto* combo = qobject_cast<QComboBox*>(widget))
        HookCombo(combo);
    else if (auto* slider = qobject_cast<QAbstractSlider*>(widget))
        HookSlider(slider);
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        HookLineEdit(edit);
    else if (auto* list = qobject_cast<QListWidget*>(widget))
        HookList(list);
    else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
        QObject::connect(spin, &QSpinBox::valueChanged, spin,
                         [spin](int value) { Raise(spin, "valuechanged", static_cast<WPARAM>(value)); });
        spin->installEventFilter(&FocusNotifier::Instance());
    } else if (qobject_cast<QTextEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget))
        widget->installEventFilter(&FocusNotifier::Instance());
    if (widget->contextMenuPolicy() == Qt::CustomContextMenu)
        QObject::connect(widget, &QWidget::customContextMenuRequested, widget, [widget](QPoint point) {
            const QPoint global = widget->mapToGlobal(point);
            Raise(widget, "menu", static_cast<WPARAM>(global.x()), global.y());
        });
}

}  // namespace

bool CNotifyPump::AddVirtualWnd(const QString& name, CNotifyPump* pump)
{
    if (name.isEmpty() || !pump || m_virtualWnds.contains(name))
        return false;
    m_virtualWnds.insert(name, pump);
    return true;
}

bool CNotifyPump::RemoveVirtualWnd(const QString& name)
{
    return m_virtualWnds.remove(name) > 0;
}

bool CNotifyPump::NotifyPump(TNotifyUI& msg)
{
    CNotifyPump* pump = m_virtualWnds.value(msg.sVirtualWnd, nullptr);
    if (!pump)
        return false;
    pump->OnPumpNotify(msg);
    return true;
}

WindowImplBase* OwnerWindow(const QObject* object)
{
    for (QObject* current = const_cast<QObject*>(object); current; current = current->parent()) {
        if (auto* window = qobject_cast<WindowImplBase*>(current))
            return window;
    }
    return nullptr;
}

bool SendNotify(QObject* sender, const QString& type, WPARAM wParam, LPARAM lParam, bool async)
{
    WindowImplBase* window = OwnerWindow(sender);
    if (!window)
        return false;
    TNotifyUI msg{type, sender, wParam, lParam, VirtualWndOf(sender, window)};
    if (!async) {
        window->DeliverNotify(msg);
        return true;
    }
    QPointer<WindowImplBase> guard(window);
    QMetaObject::invokeMethod(window, [guard, msg]() mutable {
        if (guard)
            guard->DeliverNotify(msg);
    }, Qt::QueuedConnection);
    return true;
}

void AttachNotifications(QWidget* root)
{
    if (!root)
        return;
    HookOne(root);
    for (QWidget* widget : root->findChildren<QWidget*>())
        HookOne(widget);
}
