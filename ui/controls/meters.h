#pragma once
// Two level displays.
//
// CCircleProgressUI: a progress bar drawn as a ring. The whole ring in the
// background colour (style sheet "background-color"), the done part in the
// highlight colour ("selection-background-color") from the bottom,
// clockwise; the bar's text (when visible) in the middle.
//
// CAudioRecordUI: a waveform strip of 500 sample levels (0..8192), one
// vertical line every two pixels from the left, rising from the bottom, in
// the text colour ("color") over the background colour.

#include "ui/controls/control_base.h"

#include <QLabel>
#include <QLine>
#include <QProgressBar>

#include <array>
#include <span>
#include <vector>

class CCircleProgressUI : public QProgressBar {
    Q_OBJECT
public:
    explicit CCircleProgressUI(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Degrees of the done part: value / (maximum - minimum) of a full turn,
// within 0..360; 0 when the range is empty.
int RingSweepDegrees(int value, int minimum, int maximum);

constexpr int kWaveSampleCount = 500;
constexpr int kWaveFullScale = 8192;
constexpr int kWaveLineSpacing = 2;

class CAudioRecordUI : public QLabel {
    Q_OBJECT
public:
    explicit CAudioRecordUI(QWidget* parent = nullptr);

    // Levels from the first sample on; more than 500 are ignored, each is
    // kept within 0..8192. Safe from any thread (posted to the UI thread).
    void SetSamples(std::vector<int> levels);
    const std::array<int, kWaveSampleCount>& GetSamples() const { return m_samples; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<int, kWaveSampleCount> m_samples{};
};

// The waveform's lines in area: one per sample while it fits the width.
std::vector<QLine> WaveformLines(const QRect& area, std::span<const int> samples);
