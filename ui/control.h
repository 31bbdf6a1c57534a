#pragma once
// CControlUI: a light handle on one control of a layout, with the
// properties the windows and pages use. A handle of a missing control is
// false and every call on it does nothing (getters return empty / 0), but
// callers test it before use anyway. The handle does not own the widget
// and turns false by itself when the widget is destroyed.
//
// Setters that the user could also trigger take triggerEvent: true raises
// the same notification the user's action would ("selectchanged",
// "itemselect"); value setters of sliders and edits never notify.

#include "platform/window_messages.h"

#include <QColor>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

class CControlUI {
public:
    CControlUI() = default;
    explicit CControlUI(QWidget* widget) : m_widget(widget) {}

    explicit operator bool() const { return !m_widget.isNull(); }
    QWidget* Widget() const { return m_widget.data(); }
    template <class T>
    T* As() const { return qobject_cast<T*>(m_widget.data()); }

    QString GetName() const;
    QString GetClass() const;  // meta class name ("QPushButton", "CColorPaletteUI")

    // Text of buttons, labels, edits, group boxes; a combo's current text.
    QString GetText() const;
    void SetText(const QString& text);
    // Text identifier resolved through the loaded language (kept for ReloadText).
    void SetTextId(const QString& identifier);

    bool IsVisible() const;  // its own flag, not the ancestors'
    void SetVisible(bool visible);
    bool IsEnabled() const;
    void SetEnabled(bool enabled);

    // Options and check boxes (checkable buttons).
    bool IsSelected() const;
    void SetSelected(bool selected, bool triggerEvent = true);

    // Combos and lists.
    int GetCount() const;
    int GetCurSel() const;  // -1 when nothing is selected
    bool SelectItem(int index, bool triggerEvent = true);
    int AddItem(const QString& text, const QString& userData = {});  // index, -1 if not a list
    bool RemoveItem(int index);
    void RemoveAllItems();
    QString GetItemText(int index) const;
    QString GetItemUserData(int index) const;

    // Sliders, progress bars and spin boxes.
    int GetValue() const;
    void SetValue(int value);
    int GetMinValue() const;
    int GetMaxValue() const;
    void SetMinValue(int value);  // also the lowest number a number-only edit takes
    void SetMaxValue(int value);  // also the highest

    // Edits.
    void SetMaxChar(int count);
    void SetNumberOnly(bool numberOnly);
    void SetReadOnly(bool readOnly);

    // Look (through the widget's own style sheet).
    void SetBkColor(QRgb argb);
    void SetTextColor(QRgb argb);
    void SetSelectedBkColor(QRgb argb);  // checked state of options
    QRgb GetBkColor() const;
    void SetBkImage(const QString& file);  // relative to the skin folder; empty removes it
    QString GetBkImage() const;
    void SetForeImage(const QString& file);  // a label's pixmap or a button's icon
    void SetBorderSize(int pixels);
    void SetBorderColor(QRgb argb);

    // Free-form string for the owner.
    QString GetUserData() const;
    void SetUserData(const QString& data);

    // Colour palettes.
    void SetSelectColor(QRgb argb);
    QRgb GetSelectColor() const;

    void SetFocus();

private:
    QPointer<QWidget> m_widget;
};

// Named child of parent (any depth); a false handle when missing.
CControlUI FindSubControlByName(QWidget* parent, const QString& name);
