#include "overlay/frame_rate.h"

namespace {

constexpr double AveragingSeconds = 1.0;

double TimeOfFrame(const FrameRateMeter& meter, uint64_t frame) {
    return meter.times[frame % FrameRateSlots];
}

} // namespace

FrameRateMeter frameRate;

void RecordFrame(FrameRateMeter& meter, double seconds) {
    ++meter.frames;
    meter.times[meter.frames % FrameRateSlots] = seconds;
}

double FramesPerSecond(const FrameRateMeter& meter) {
    if (meter.frames < 2) return 0.0;
    double newest = TimeOfFrame(meter, meter.frames);
    uint64_t oldest = meter.frames;
    uint64_t reach = meter.frames - 1 < FrameRateSlots - 1 ? meter.frames - 1 : FrameRateSlots - 1;
    while (meter.frames - oldest < reach && newest - TimeOfFrame(meter, oldest - 1) <= AveragingSeconds)
        --oldest;
    if (oldest == meter.frames) --oldest;
    double span = newest - TimeOfFrame(meter, oldest);
    return span > 0.0 ? static_cast<double>(meter.frames - oldest) / span : 0.0;
}

double NewestFrameTime(const FrameRateMeter& meter) {
    return TimeOfFrame(meter, meter.frames);
}
