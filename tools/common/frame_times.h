// What the capture tool's --bench reports about a run's frame times.
#pragma once

#include <vector>

struct FrameTimeSummary {
    struct Frame {
        int number = 0; // 1-based: the frame presented by this buffer swap
        double ms = 0.0;
    };
    double totalMs = 0.0;
    double meanMs = 0.0;
    // Nearest-rank percentiles: the time that this share of the frames does not exceed.
    double medianMs = 0.0;
    double p95Ms = 0.0;
    double p99Ms = 0.0;
    std::vector<Frame> slowest; // up to five, slowest first; the first is the worst frame
};

FrameTimeSummary SummariseFrameTimes(const std::vector<double>& frameMs);
