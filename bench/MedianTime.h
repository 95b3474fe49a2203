#pragma once

// The median time of a piece of work, for the benchmarks that time calls.

#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <vector>

inline double medianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
