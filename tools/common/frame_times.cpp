#include "common/frame_times.h"

#include <algorithm>
#include <cmath>

namespace {

// The smallest time that at least `share` of the frames do not exceed.
double NearestRank(const std::vector<double>& sorted, double share) {
    size_t rank = static_cast<size_t>(std::ceil(share * static_cast<double>(sorted.size())));
    return sorted[std::min(std::max<size_t>(rank, 1), sorted.size()) - 1];
}

} // namespace

FrameTimeSummary SummariseFrameTimes(const std::vector<double>& frameMs) {
    FrameTimeSummary summary;
    if (frameMs.empty()) return summary;
    for (double ms : frameMs) summary.totalMs += ms;
    summary.meanMs = summary.totalMs / static_cast<double>(frameMs.size());
    std::vector<double> sorted = frameMs;
    std::sort(sorted.begin(), sorted.end());
    summary.medianMs = NearestRank(sorted, 0.5);
    summary.p95Ms = NearestRank(sorted, 0.95);
    summary.p99Ms = NearestRank(sorted, 0.99);

    std::vector<FrameTimeSummary::Frame> frames(frameMs.size());
    for (size_t i = 0; i < frameMs.size(); ++i) frames[i] = {static_cast<int>(i + 1), frameMs[i]};
    size_t kept = std::min<size_t>(5, frames.size());
    // Slowest first; of equal times the earlier frame first.
    std::partial_sort(frames.begin(), frames.begin() + static_cast<long>(kept), frames.end(),
                      [](const FrameTimeSummary::Frame& a, const FrameTimeSummary::Frame& b) {
                          return a.ms > b.ms || (a.ms == b.ms && a.number < b.number);
                      });
    summary.slowest.assign(frames.begin(), frames.begin() + static_cast<long>(kept));
    return summary;
}
