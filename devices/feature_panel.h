#pragma once
// CFeaturePanel: a feature panel that lives on a device page (profiles, key
// setting, lighting, macros, recoil). The page hands itself to each panel it
// finds when it is built, and forwards the routed notifications of the
// panel's feature to it.

#include "devices/velmora_usb_device.h"

#include <QPointer>
#include <QWidget>

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
