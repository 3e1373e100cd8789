#pragma once

#include <QPoint>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "display/analog/AnalogView.h"
#include "model/TestSession.h"

class QPainter;

// The analog plot: channels and the power or speed curve of a run against sample
// number, one pixel column per `zoom` samples, on a black field with white grid dots.
namespace dyno {

// Room for one polyline and its pixels, made once and reused by every redraw.
struct AnalogBuffers {
    AnalogBuffers() {
        polyline.reserve(kSamplesPerRun + 1);
        pixels.reserve(8 * kSamplesPerRun);
    }
    std::vector<QPoint> polyline;
    std::vector<QPoint> pixels;
};

// The black field with white dots every 40 rows (y 40 .. 360) and 10 columns (x 0 .. 590).
void drawAnalogFrame(QPainter& plot);

// Raw converter steps per pixel row: the K40 electronics (USB/serial, type 1) give
// 1024 steps, the card 4096, over the 400 rows.
double analogDivisor(std::int16_t electronicsType);

// What one slot's plot takes besides the session.
struct AnalogSlotPlot {
    int slot = 1;         // 1..4: the pen colour
    int run = 0;          // 0..2
    int firstSample = 0;  // sample drawn at x 0: scroll offset plus the slot's shift
    int zoom = 2;         // pixels per sample, at least 1
    AnalogCurve curve = AnalogCurve::power;
    std::int32_t endHp = 10;
    std::array<bool, kAnalogChannels> channelTicked{};
    std::array<AnalogChannelScaling, kAnalogChannels> channels{};
};

// Draws the evaluated curve of `session` and every ticked channel of run `run`.
// `timeAxis` is the evaluation's time of each sample of that run (seconds): a
// channel is read its delay later than the curve sample. Samples are read only at
// indices 0..1999; a curve with endHp 0 and a channel divided by 0 are left out.
void plotAnalogSlot(QPainter& plot, const TestSession& session, std::span<const double> timeAxis,
                    const AnalogSlotPlot& slot, AnalogBuffers& buffers);

}  // namespace dyno
