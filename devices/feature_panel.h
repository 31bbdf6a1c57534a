#pragma once
// CFeaturePanel: a feature panel that lives on a device page (profiles, key
// setting, lighting, macros, recoil). The page hands itself to each panel it
// finds when it is built, and forwards the routed notifications of the
// panel's feature to it.

#include "devices/velmora_usb_device.h"
#include "platform/window_messages.h"

#include <QPointer>
#include <QWidget>

// A panel asks its window to show a message box: wParam 1 with a Cancel
// button, the text identifier (UTF-8) as the message's bytes. The answer is
// 1 when the user confirms.
inline constexpr UINT WM_PANEL_MESSAGE = 3095;

class CFeaturePanel : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    virtual void SetPage(CVelmoraUSBDevice* page);
    CVelmoraUSBDevice* Page() const { return page_; }
    // 1 done, 0 nothing done, other values as the feature defines them.
    virtual int HandleFeatureEvent(const PageEvent& /*event*/) { return 0; }

private:
    QPointer<CVelmoraUSBDevice> page_;
};
