#include "panels/shoot_control_ui.h"

#include "platform/trace.h"
#include "profiles/profile_paths.h"
#include "ui/dialog_builder.h"

#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace {

constexpr const char* kLayout = "XML\\CustomControlXML\\ShootControl.xml";
const QString kGunOption = QStringLiteral("shoot_gun_op_");
const QString kBulletOption = QStringLiteral("bullet_op_");
const QString kXEdit = QStringLiteral("bullet_x_eidt");
const QString kYEdit = QStringLiteral("bullet_y_eidt");
const QString kDelayEdit = QStringLiteral("bullet_delay_eidt");
const QString kXCheck = QStringLiteral("bullet_x_check");
const QString kYCheck = QStringLiteral("bullet_y_check");

bool Is(const PageEvent& event, const char* type, const QString& name)
{
    return event.type == QLatin1String(type) && event.name == name;
}

}  // namespace

int RecoilImportAnswer(RecoilImport result)
{
    switch (result) {
    case RecoilImport::kImported:
        return 1;
    case RecoilImport::kEmptyPath:
        return 0;
    case RecoilImport::kNotAPattern:
    case RecoilImport::kNotWritten:
        break;
    }
    return -static_cast<int>(result);
}

CShootControlUI::CShootControlUI(QWidget* parent) : CFeaturePanel(parent)
{
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    if (QWidget* content = CDialogBuilder::Create(QString::fromLatin1(kLayout), nullptr, this))
        box->addWidget(content);
    else
        Trace("recoil panel layout missing");
}

void CShootControlUI::SetPage(CVelmoraUSBDevice* page)
{
    CFeaturePanel::SetPage(page);
    if (!page)
        return;
    SetRecoilFolder(GetProfileDirectory(page->GetFamilyName().toStdString()));
    SetRecoilDefaultFolder(GetDefaultDataDirectory());
    InitRecoilPanel();
    SelectGun(0);
    SelectBullet(0);
}

CControlUI CShootControlUI::Control(const QString& name) const
{
    return FindSubControlByName(const_cast<CShootControlUI*>(this), name);
}

void CShootControlUI::SetRecoilFolder(const std::string& folder)
{
    working_ = folder;
    patterns_.SetFolders(working_, defaults_);
}

void CShootControlUI::SetRecoilDefaultFolder(const std::string& folder)
{
    defaults_ = folder;
    patterns_.SetFolders(working_, defaults_);
}

void CShootControlUI::InitRecoilPanel()
{
    patterns_.RestoreDamagedPatterns();
}

void CShootControlUI::SelectOption(const QString& prefix, int count, int selected)
{
    for (int i = 0; i < count; ++i)
        Control(prefix + QString::number(i)).SetSelected(i == selected, false);
}

void CShootControlUI::SelectGun(int gun)
{
    gun_ = std::clamp(gun, 0, kRecoilPatternCount - 1);
    SelectOption(kGunOption, kRecoilPatternCount, gun_);
    if (auto* pictures = Control(QStringLiteral("shoot_image_display_switch")).As<QStackedWidget>())
        pictures->setCurrentIndex(gun_);
}

void CShootControlUI::SelectBullet(int bullet)
{
    bullet_ = std::clamp(bullet, 0, kRecoilBulletCount - 1);
    SelectOption(kBulletOption, kRecoilBulletCount, bullet_);
    Control(QStringLiteral("bullet_select_index")).SetText(QString::number(bullet_ + 1));
    ShowBullet();
}

void CShootControlUI::ShowBullet()
{
    const RecoilBullet bullet = patterns_.ReadBullet(gun_, bullet_);
    Control(kXCheck).SetSelected(bullet.left, false);
    Control(kYCheck).SetSelected(bullet.up, false);
    ShowXDirection();
    ShowYDirection();
    Control(kXEdit).SetText(QString::number(bullet.x));
    Control(kYEdit).SetText(QString::number(bullet.y));
    Control(kDelayEdit).SetText(QString::number(bullet.delay));
}

bool CShootControlUI::StoreBullet()
{
    const auto number = [this](const QString& edit) { return LeadingDecimal(Control(edit).GetText().toStdString()); };
    RecoilBullet bullet;
    bullet.x = static_cast<int>(std::clamp<long long>(number(kXEdit), 0, kMaxRecoilDistance));
    bullet.y = static_cast<int>(std::clamp<long long>(number(kYEdit), 0, kMaxRecoilDistance));
    bullet.delay = number(kDelayEdit);
    bullet.left = Control(kXCheck).IsSelected();
    bullet.up = Control(kYCheck).IsSelected();
    const bool stored = patterns_.StoreBullet(gun_, bullet_, bullet);
    if (!stored)
        Trace("recoil bullet not stored");
    // The edits show what was kept.
    ShowBullet();
    return stored;
}

void CShootControlUI::ShowXDirection()
{
    CControlUI check = Control(kXCheck);
    check.SetTextId(check.IsSelected() ? QStringLiteral("mouse_move_to_left_text")
                                       : QStringLiteral("mouse_move_to_right_text"));
}

void CShootControlUI::ShowYDirection()
{
    CControlUI check = Control(kYCheck);
    check.SetTextId(check.IsSelected() ? QStringLiteral("mouse_move_to_up_text")
                                       : QStringLiteral("mouse_move_to_down_text"));
}

void CShootControlUI::ResetGun(int gun)
{
    if (!patterns_.ResetGun(gun))
        Trace("recoil pattern default missing; the working file is kept");
    SelectBullet(bullet_);
}

RecoilImport CShootControlUI::ImportRecoilFile(const std::string& path)
{
    const RecoilImport result = patterns_.ImportRecoilFile(gun_, path);
    if (result == RecoilImport::kImported)
        SelectBullet(bullet_);
    return result;
}

bool CShootControlUI::ExportRecoilFile(const std::string& path)
{
    return patterns_.ExportRecoilFile(gun_, path);
}

void CShootControlUI::SendRecoilPatterns()
{
    CVelmoraUSBDevice* page = Page();
    // The worker reads the files after the edits before it; the patterns and
    // the information block are its own copies.
    auto patterns = std::make_shared<CRecoilPatterns>(patterns_);
    auto info = std::make_shared<DeviceInfoBlock>();
    page->RunOnDevice([page, patterns, info] { return ::SendRecoilPatterns(page->Channel(), *patterns, info->data()); },
                      [](int result) {
                          if (result != kResultSuccess)
                              TraceF("recoil patterns not written (%d)", result);
                      });
}

int CShootControlUI::HandleFeatureEvent(const PageEvent& event)
{
    if (!Page() || !IsMousePage(Page()))
        return 0;
    const bool selected = event.value != 0;
    if (event.type == QLatin1String("selectchanged") && event.name.startsWith(kGunOption) && selected) {
        SelectGun(event.index);
        ShowBullet();
    } else if (event.type == QLatin1String("selectchanged") && event.name.startsWith(kBulletOption) && selected) {
        SelectBullet(event.index);
    } else if (Is(event, "click", QStringLiteral("bullet_selected_prev"))) {
        SelectPreviousBullet();
    } else if (Is(event, "click", QStringLiteral("bullet_selected_next"))) {
        SelectNextBullet();
    } else if (event.type == QLatin1String("killfocus") &&
               (event.name == kXEdit || event.name == kYEdit || event.name == kDelayEdit)) {
        StoreBullet();
    } else if (Is(event, "selectchanged", kXCheck)) {
        ShowXDirection();
    } else if (Is(event, "selectchanged", kYCheck)) {
        ShowYDirection();
    } else if (Is(event, "click", QStringLiteral("shootdate_reset_btn"))) {
        ResetGun(gun_);
    } else if (Is(event, "command", QStringLiteral("shootdate_import_btn"))) {
        return RecoilImportAnswer(ImportRecoilFile(event.text.toStdString()));
    } else if (Is(event, "command", QStringLiteral("shootdate_export_btn"))) {
        return ExportRecoilFile(event.text.toStdString()) ? 1 : 0;
    } else if (Is(event, "click", QStringLiteral("shootdate_save_btn"))) {
        SendRecoilPatterns();
    } else {
        return 0;
    }
    return 1;
}
