#pragma once
// CDeviceKeyButtonUI: one key of a device picture. Over the button's own
// look it draws the key's light (the light image tinted with the key's
// colour at its level) and, unless hidden, the key-setting image. A double
// click raises "dbclick"; the selection panel marks the keys a drag frames.
//
// Layout attributes: "lightimage", "keysetimage" (image strings),
// "gmnametextcolor" (accepted, no effect).

#include "ui/controls/control_base.h"

#include <QColor>
#include <QPushButton>

class CDeviceKeyButtonUI : public CAttributedUI<QPushButton> {
    Q_OBJECT
    // Lets the skin style framed keys: CDeviceKeyButtonUI[dragSelected="true"].
    Q_PROPERTY(bool dragSelected READ IsDragSelected)

public:
    explicit CDeviceKeyButtonUI(QWidget* parent = nullptr);

    void SetAttribute(const QString& name, const QString& value) override;

    // color: ARGB (alpha ignored); level: 0..255. Callable from a worker
    // thread while the button lives: the change is posted to the UI thread.
    void SetKeyLight(QRgb color, int level, bool shown);
    QRgb GetLightColor() const { return m_lightColor; }
    int GetLightLevel() const { return m_lightLevel; }
    bool IsLightShown() const { return m_lightShown; }

    void SetKeysetImageHidden(bool hidden);
    bool IsKeysetImageHidden() const { return m_keysetImageHidden; }

    void SetDragSelected(bool selected);
    bool IsDragSelected() const { return m_dragSelected; }

    QString GetLightImage() const { return m_lightImage; }
    QString GetKeysetImage() const { return m_keysetImage; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QString m_lightImage;
    QString m_keysetImage;
    bool m_keysetImageHidden = true;
    bool m_lightShown = false;
    QRgb m_lightColor = 255;
    int m_lightLevel = 200;
    bool m_dragSelected = false;
};
