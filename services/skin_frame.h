#pragma once
// The skin window: a popup under the main window's "skinbtn" that changes
// the background, built from "skin.xml":
//   "skin_image_btn"   a stock image (the button's "bkimage" property)
//   "skin_color_btn"   a plain colour (the button's "bkcolor" property)
//   "skin_image", "skin_color"  the image and colour pages of "skin_tab"
//   "skin_Custom"      the user's own PNG, from an open-file dialog
//   "skin_reset"       the default background
// Each choice is broadcast to the skin-change observer and recorded in
// "main.ini", so it comes back at the next start. A cancelled dialog
// changes nothing.

#include "services/skin_change.h"
#include "ui/window_impl_base.h"

#include <functional>

class CSkinFrame : public WindowImplBase {
    Q_OBJECT
public:
    // Asks the user for an image; empty when cancelled.
    using ImageChooser = std::function<QString(QWidget* owner)>;
    static QString ChooseImageFile(QWidget* owner);

    explicit CSkinFrame(ImageChooser chooser = ChooseImageFile);

    // Opens the window owned by `owner`, its top-right corner at the
    // bottom-right corner of `anchor`. One at a time: an open one is
    // returned as it is.
    static CSkinFrame* Open(QWidget* owner, QWidget* anchor, ImageChooser chooser = ChooseImageFile);

protected:
    QString GetSkinFile() override { return QStringLiteral("skin.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("UISkinFrame"); }
    void InitWindow() override;
    void Notify(TNotifyUI& msg) override;
    void OnFinalMessage() override;

private:
    void PlaceUnder(QWidget* anchor);
    void ChooseOwnImage();

    ImageChooser chooser_;
};

// The main window's side: applies each broadcast to the window's "root"
// (a colour, or an image with no colour) for as long as it lives.
class CRootSkinReceiver : public SkinReceiver {
public:
    explicit CRootSkinReceiver(WindowImplBase& window);
    ~CRootSkinReceiver();
    CRootSkinReceiver(const CRootSkinReceiver&) = delete;
    CRootSkinReceiver& operator=(const CRootSkinReceiver&) = delete;

    // 1 when applied; 0 when there is no root or the image cannot be read
    // (the background stays as it was).
    int Receive(SkinChangedParam param) override;
    // Brings back the choice recorded in "main.ini" at the last run.
    void RestoreSaved();

private:
    WindowImplBase& window_;
};
