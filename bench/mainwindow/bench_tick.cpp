// Times one clock tick of the main window on fakes: the settings read, today's row, six arrival
// checks, the Hijri date, the clock text and the six colours. Prints medians; gates nothing.
#include "MainWindowRig.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {
using SteadyClock = std::chrono::steady_clock;

double medianMicroseconds(MainWindowRig &rig, int samples)
{
    std::vector<double> times;
    times.reserve(samples);
    for (int s = 0; s < samples; ++s) {
        rig.clock.advanceSeconds(1);
        const auto start = SteadyClock::now();
        rig.tick();
        const std::chrono::duration<double, std::micro> elapsed = SteadyClock::now() - start;
        times.push_back(elapsed.count());
    }
    std::nth_element(times.begin(), times.begin() + samples / 2, times.end());
    return times[samples / 2];
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    MainWindowRig rig(QDateTime(QDate(2026, 1, 1), QTime(9, 0)));
    rig.load();
    rig.tick(); // today's row and the day's times

    const double shown = medianMicroseconds(rig, 2001);
    rig.window->setWindowState(Qt::WindowMinimized);
    const double minimised = medianMicroseconds(rig, 2001);
    // A day change: the row and its six times are computed again.
    rig.window->setWindowState(Qt::WindowNoState);
    std::vector<double> dayChange;
    for (int s = 0; s < 301; ++s) {
        rig.window->List1.setListIndex(-1);
        const auto start = SteadyClock::now();
        rig.tick();
        const std::chrono::duration<double, std::micro> elapsed = SteadyClock::now() - start;
        dayChange.push_back(elapsed.count());
    }
    std::nth_element(dayChange.begin(), dayChange.begin() + 150, dayChange.end());

    std::printf("one tick, window shown:          median %.1f us\n", shown);
    std::printf("one tick, window minimised:      median %.1f us\n", minimised);
    std::printf("one tick that selects a new day: median %.1f us\n", dayChange[150]);
    return 0;
}
