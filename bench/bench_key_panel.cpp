// Repainting a key panel with a keyboard's 126 key buttons, every one lit
// in its own colour (as a lighting preview does on each step), in the
// program's look. Goal: a repaint of the whole panel fits in one frame at
// 60 Hz (16 ms of the UI thread), so a moving preview never stutters.

#include "platform/folders.h"
#include "ui/controls/device_key_button.h"
#include "ui/controls/select_panel.h"
#include "ui/resource_manager.h"
#include "ui/ui_init.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

constexpr int kKeys = 126;
constexpr int kColumns = 21;
constexpr int kKeySize = 40;
constexpr int kRounds = 200;
constexpr double kGoalMs = 16.0;

// CPU time of this thread: the machine may be busy with other work, and
// what matters is what a repaint costs the UI thread itself.
double ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

void StepLights(const std::vector<CDeviceKeyButtonUI*>& keys, int round)
{
    for (size_t i = 0; i < keys.size(); ++i) {
        const int hue = static_cast<int>((i * 9 + round * 7) % 360);
        keys[i]->SetKeyLight(QColor::fromHsv(hue, 255, 255).rgba(), 80 + (round + i) % 176, true);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    if (!PrepareToolkit(QString::fromStdString(ResourceFolder(kSkinFolderName)))) {
        std::fprintf(stderr, "bench_key_panel: skin folder missing\n");
        return 1;
    }
    QFile style(CResourceManager::GetInstance().FindFile(QStringLiteral("STYLE_BASE")));
    if (style.open(QIODevice::ReadOnly | QIODevice::Text))
        app.setStyleSheet(QString::fromUtf8(style.readAll()));

    CSelectPanelUI panel;
    panel.resize(kColumns * (kKeySize + 4), (kKeys / kColumns) * (kKeySize + 4));
    std::vector<CDeviceKeyButtonUI*> keys;
    for (int i = 0; i < kKeys; ++i) {
        auto* key = new CDeviceKeyButtonUI(&panel);
        key->setGeometry((i % kColumns) * (kKeySize + 4), (i / kColumns) * (kKeySize + 4), kKeySize, kKeySize);
        key->setProperty("lightimage", QStringLiteral("file='controls/key_light.png' corner='12,12,12,12'"));
        key->setProperty("keysetimage", QStringLiteral("file='controls/key_set.png' dest='3,3,15,15'"));
        key->SetKeysetImageHidden(i % 3 != 0);
        keys.push_back(key);
    }
    QImage canvas(panel.size(), QImage::Format_ARGB32_Premultiplied);

    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round) {
        StepLights(keys, round);
        const double start = ThreadCpuMs();
        panel.render(&canvas);
        times.push_back(ThreadCpuMs() - start);
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    const double worst = times.back();
    std::printf("key panel repaint, %d lit keys, UI thread CPU time: median %.2f ms, worst %.2f ms (goal: median within %.0f ms) %s\n",
                kKeys, median, worst, kGoalMs, median <= kGoalMs ? "ok" : "MISSED");
    return 0;
}
