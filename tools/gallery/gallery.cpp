// kestrova-gallery: shows every custom control, built by class name as
// layouts build them, with sample data. `kestrova-gallery --shot FILE`
// saves the window as a picture and ends.

#include "platform/folders.h"
#include "ui/control_factory.h"
#include "ui/controls/chart_view.h"
#include "ui/controls/combo_edit_element.h"
#include "ui/controls/device_key_button.h"
#include "ui/controls/image_buttons.h"
#include "ui/controls/meters.h"
#include "ui/controls/select_panel.h"
#include "ui/controls/wnd_ui.h"
#include "ui/resource_manager.h"
#include "ui/ui_init.h"

#include <QApplication>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QTimer>

#include <cmath>
#include <cstdio>

namespace {

const char* const kKeyLight = "file='controls/key_light.png' corner='12,12,12,12'";
const char* const kKeySet = "file='controls/key_set.png' dest='3,3,15,15'";

template <class T>
T* Make(const char* className, QWidget* parent)
{
    return qobject_cast<T*>(CControlFactory::GetInstance().CreateControl(QString::fromLatin1(className), parent));
}

QLabel* SectionLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("gallery_section"));
    return label;
}

struct GalleryKey {
    const char* text;
    QRect rect;
    QRgb light;  // 0: unlit
    bool keySet;
    bool framed;
};

QWidget* MakeKeyPanel(QWidget* parent)
{
    auto* panel = Make<CSelectPanelUI>("SelectPanel", parent);
    panel->setFixedSize(330, 230);
    const GalleryKey keys[] = {
        {"L", {20, 10, 90, 110}, 0xFFFF2D47, true, false},
        {"R", {220, 10, 90, 110}, 0xFFFF2D47, false, false},
        {"M", {135, 20, 60, 40}, 0xFF3F96F5, false, true},
        {"DPI", {135, 70, 60, 40}, 0xFF6AF4C0, true, true},
        {"B4", {20, 135, 60, 36}, 0, false, false},
        {"B5", {20, 180, 60, 36}, 0, true, false},
        {"G1", {250, 135, 60, 36}, 0xFFF5EA6A, false, false},
        {"G2", {250, 180, 60, 36}, 0, false, false},
    };
    for (const GalleryKey& shown : keys) {
        auto* key = Make<CDeviceKeyButtonUI>("DeviceKeyButton", panel);
        key->setText(QString::fromLatin1(shown.text));
        key->setGeometry(shown.rect);
        key->setProperty("lightimage", QString::fromLatin1(kKeyLight));
        key->setProperty("keysetimage", QString::fromLatin1(kKeySet));
        key->SetKeyLight(shown.light, 230, shown.light != 0);
        key->SetKeysetImageHidden(!shown.keySet);
        key->SetDragSelected(shown.framed);
    }
    return panel;
}

QWidget* MakeButtons(QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* layout = new QGridLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* record = Make<CRedioMacroButtonUI>("RedioMacroButton", box);
    record->setText(QStringLiteral("      Record"));
    record->setFixedSize(130, 36);
    record->setProperty("redioimage", QStringLiteral("file='controls/record.png' dest='14,8,34,28'"));
    record->SetKeepBlinking(true);
    layout->addWidget(record, 0, 0);

    auto* hand = Make<CHandImgButtonUI>("HandImgButton", box);
    hand->setFixedSize(48, 48);
    hand->setProperty("handimage", QStringLiteral("file='controls/hand_macro.png' dest='8,8,40,40'"));
    layout->addWidget(hand, 0, 1);

    auto* pan = Make<CHandImgSelectButtonUI>("HandImgSelectButton", box);
    pan->setFixedSize(220, 120);
    pan->setProperty("cursor", QStringLiteral("sizeall"));
    pan->setProperty("handimage", QStringLiteral(GALLERY_DIR "pan_picture.png"));
    layout->addWidget(pan, 1, 0, 1, 2);
    return box;
}

QWidget* MakeRings(QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    for (int value : {35, 72, 100}) {
        auto* ring = Make<CCircleProgressUI>("CircleProgress", box);
        ring->setFixedSize(96, 96);
        ring->setValue(value);
        layout->addWidget(ring);
    }
    layout->addStretch();
    return box;
}

QWidget* MakeWave(QWidget* parent)
{
    auto* wave = Make<CAudioRecordUI>("AudioRecord", parent);
    wave->setFixedSize(600, 64);
    std::vector<int> levels(kWaveSampleCount);
    for (int i = 0; i < kWaveSampleCount; ++i) {
        const double envelope = 0.55 + 0.45 * std::sin(i / 23.0);
        levels[i] = static_cast<int>(kWaveFullScale * envelope * std::fabs(std::sin(i / 3.1) * std::cos(i / 7.7)));
    }
    wave->SetSamples(levels);
    return wave;
}

QWidget* MakeChart(const char* view, QWidget* parent)
{
    auto* chart = Make<CChartViewUI>("ChartView", parent);
    chart->setFixedSize(300, 170);
    chart->setProperty("view", QString::fromLatin1(view));
    chart->setProperty("pillarimage", QStringLiteral("controls/pillar.png"));
    chart->setProperty("pillarimagewidth", QStringLiteral("18"));
    chart->setProperty("shadowimage", QStringLiteral("controls/shadow.png"));
    chart->setProperty("shadowimageheight", QStringLiteral("4"));
    const std::pair<const char*, double> items[] = {
        {"Left", 412}, {"Right", 268}, {"Wheel", 121}, {"Side", 77}, {"DPI", 35},
    };
    for (const auto& [name, value] : items)
        chart->AddItem(QString::fromLatin1(name), value);
    return chart;
}

QWidget* MakeElementList(QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setFixedSize(300, 130);
    const char* const names[] = {"Key A down", "Delay", "Key A up"};
    for (const char* name : names) {
        auto* element = Make<CComboEditContainerElementUI>("ComboEditContainerElement", list);
        element->GetText1().SetText(QString::fromLatin1(name));
        element->GetDelayEdit().SetText(QStringLiteral("30"));
        auto* item = new QListWidgetItem(list);
        item->setSizeHint(QSize(0, 38));
        list->setItemWidget(item, element);
    }
    list->setCurrentRow(1);
    return list;
}

QWidget* MakeHost(QWidget* parent, QWidget* root)
{
    auto* host = Make<CWndUI>("Wnd", parent);
    host->setFixedSize(300, 40);
    auto* hosted = new QLabel(QStringLiteral("hosted window"), root);
    hosted->setObjectName(QStringLiteral("gallery_hosted"));
    hosted->setAlignment(Qt::AlignCenter);
    host->Attach(hosted);
    return host;
}

QWidget* MakeGallery()
{
    auto* root = new QWidget;
    root->setObjectName(QStringLiteral("root"));
    root->setWindowTitle(QStringLiteral("Controls"));
    auto* grid = new QGridLayout(root);
    grid->setContentsMargins(24, 18, 24, 18);
    grid->setHorizontalSpacing(28);
    grid->setVerticalSpacing(8);
    grid->addWidget(SectionLabel("KEYS  (drag on the panel to frame keys)", root), 0, 0);
    grid->addWidget(MakeKeyPanel(root), 1, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(SectionLabel("BUTTONS", root), 0, 1);
    grid->addWidget(MakeButtons(root), 1, 1, Qt::AlignTop | Qt::AlignLeft);
    grid->addWidget(SectionLabel("PROGRESS", root), 2, 1);
    grid->addWidget(MakeRings(root), 3, 1, Qt::AlignTop | Qt::AlignLeft);
    grid->addWidget(SectionLabel("WAVEFORM", root), 4, 0, 1, 2);
    grid->addWidget(MakeWave(root), 5, 0, 1, 2, Qt::AlignLeft);
    grid->addWidget(SectionLabel("CHARTS", root), 6, 0, 1, 2);
    auto* charts = new QHBoxLayout;
    charts->addWidget(MakeChart("pie", root));
    charts->addWidget(MakeChart("histpgram", root));
    charts->addStretch();
    grid->addLayout(charts, 7, 0, 1, 2);
    grid->addWidget(SectionLabel("LIST ROWS AND HOSTED WINDOW", root), 8, 0, 1, 2);
    auto* rows = new QHBoxLayout;
    rows->addWidget(MakeElementList(root));
    rows->addWidget(MakeHost(root, root), 0, Qt::AlignTop);
    rows->addStretch();
    grid->addLayout(rows, 9, 0, 1, 2);
    return root;
}

QString ReadStyle()
{
    QFile file(CResourceManager::GetInstance().FindFile(QStringLiteral("STYLE_BASE")));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "kestrova-gallery: style sheet not found\n");
        return {};
    }
    return QString::fromUtf8(file.readAll()) + QStringLiteral(
        "QLabel#gallery_section { color: #8d93a0; font-size: 11px; letter-spacing: 2px; }"
        "QLabel#gallery_hosted { background-color: #1e2129; border: 1px dashed #e0223a; color: #b8bdc8; }"
        "CSelectPanelUI { background-color: #14161c; border: 1px solid #262932; border-radius: 8px; }"
        "QListWidget { background-color: #14161c; border: 1px solid #262932; outline: none; }"
        "QListWidget::item:selected { background-color: rgba(224, 34, 58, 50); }");
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (!PrepareToolkit(QString::fromStdString(ResourceFolder(kSkinFolderName))))
        std::fprintf(stderr, "kestrova-gallery: skin index missing\n");
    app.setStyleSheet(ReadStyle());
    QWidget* gallery = MakeGallery();
    gallery->show();

    const QStringList args = app.arguments();
    const qsizetype shot = args.indexOf(QStringLiteral("--shot"));
    if (shot > 0 && shot + 1 < args.size()) {
        QTimer::singleShot(500, gallery, [gallery, file = args[shot + 1]] {
            const bool saved = gallery->grab().save(file);
            if (!saved)
                std::fprintf(stderr, "kestrova-gallery: cannot write %s\n", qPrintable(file));
            QApplication::exit(saved ? 0 : 1);
        });
    }
    const int code = app.exec();
    delete gallery;
    return code;
}
