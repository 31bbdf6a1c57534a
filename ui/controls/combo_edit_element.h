#pragma once
// CComboEditContainerElementUI: one row of a list whose content comes from
// the layout "XML\CustomControlXML\ComboEditElementItem.xml" (two texts,
// "text1" and "text2", and an edit "delay_edit"). A press selects its row
// in the list around it (with Control held it toggles it); a release
// raises "itemclick", a double click "itemactivate", Enter "itemactivate"
// and "return". The row remembers that the user changed it: an option of
// its content toggled, or Enter in its "delay_edit".

#include "ui/control.h"

#include <QWidget>

class CComboEditContainerElementUI : public QWidget {
    Q_OBJECT
public:
    explicit CComboEditContainerElementUI(QWidget* parent = nullptr);

    CControlUI GetText1() const { return m_text1; }
    CControlUI GetText2() const { return m_text2; }
    CControlUI GetDelayEdit() const { return m_delayEdit; }
    bool IsChanged() const { return m_changed; }
    void SetChanged(bool changed) { m_changed = changed; }

    // Raises "itemactivate" when enabled.
    bool Activate();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void WatchChanges();
    void SelectRow(bool toggle);

    CControlUI m_text1;
    CControlUI m_text2;
    CControlUI m_delayEdit;
    bool m_changed = false;
};
