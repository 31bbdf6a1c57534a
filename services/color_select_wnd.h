#pragma once
// CColorSelectWnd: the modal colour picker of the DPI stages, built from
// "PalletDialog.xml": the palette, red, green and blue edits, a preview,
// twenty preset swatches and twenty swatches of the user's own. A colour
// changed while one of the user's swatches is selected is kept in it; the
// user swatches and the last preset are kept in the swatch file
// (services/color_swatches.h). Its seven-colour choice is for openers that
// offer one; the DPI stages do not.

#include "services/color_swatches.h"
#include "ui/window_impl_base.h"

#include <QPointer>

#include <optional>

class CColorSelectWnd : public WindowImplBase {
    Q_OBJECT
public:
    explicit CColorSelectWnd(CColorSwatchFile swatches = CColorSwatchFile::Standard());

    // Allowed DPI values only; others become 96.
    void SetDpi(int dpi);
    void SetColor(uint32_t argb);
    uint32_t GetColor() const { return color_; }
    void SetSevenColorAvailable(bool available);

protected:
    QString GetSkinFile() override { return QStringLiteral("PalletDialog.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("ColorSelectWnd"); }
    void Notify(TNotifyUI& msg) override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    void OnFinalMessage() override { deleteLater(); }

private:
    void OnWindowInit();
    void OnClick(const QString& sender);
    void OnSelectChanged(const QString& sender);
    void OnEditKillFocus(const QString& sender);
    void OnPaletteChanged();
    void SetSevenColor(bool on);
    void ShowComponents(uint32_t argb);
    void LoadUserSwatches();
    void SavePresetSwatches();
    void SaveUserSwatches();
    void StoreIntoUserSwatch();
    CControlUI Swatch(const char* prefix, int index) const;

    CColorSwatchFile swatches_;
    uint32_t color_ = 0xFFFFFFFF;
    bool sevenColor_ = false;
    int preset_ = 4;
    int userSwatch_ = 0;
};

// Runs the picker over `owner` at `dpi` for a stage colour; `handle` names it
// while it is open, and nothing happens while it names an open one. The
// chosen colour, or nothing when the user cancelled.
std::optional<uint32_t> PickStageColor(QWidget* owner, int dpi, uint32_t color, QPointer<WindowImplBase>& handle);
