// Times the two things the clock does with the table: finding today's row by its key, and
// turning a row into a city's six times and their texts. Prints medians; gates nothing.

#include "timetable/DailyTable.h"
#include "timetable/DayTimes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int Samples = 101;

// Median of Samples runs of body(), each run repeated `repeat` times, in nanoseconds per call.
template<typename Body>
double medianNanoseconds(int repeat, Body body)
{
    std::vector<double> samples;
    samples.reserve(Samples);
    for (int s = 0; s < Samples; ++s) {
        const auto start = Clock::now();
        for (int i = 0; i < repeat; ++i)
            body();
        const std::chrono::duration<double, std::nano> elapsed = Clock::now() - start;
        samples.push_back(elapsed.count() / repeat);
    }
    std::nth_element(samples.begin(), samples.begin() + Samples / 2, samples.end());
    return samples[Samples / 2];
}

volatile long long sink = 0;

} // namespace

int main()
{
    const QStringList &rows = DailyTable::rows();
    std::vector<QDate> dates;
    for (QDate d(2024, 1, 1); d.year() == 2024; d = d.addDays(1))
        dates.push_back(d);

    const double everyDay
            = medianNanoseconds(3,
                                [&] {
                                    for (const QDate &date : dates)
                                        sink = sink + findRowByPrefix(rows, DayKey(date));
                                })
            / dates.size();
    const QDate lastDay(2024, 12, 31);
    const double worstDay
            = medianNanoseconds(300, [&] { sink = sink + findRowByPrefix(rows, DayKey(lastDay)); });

    const QString &row = rows.at(findRowByPrefix(rows, DayKey(QDate(2024, 7, 1))));
    const double oneDay = medianNanoseconds(500, [&] {
        const std::array<int, SlotCount> minutes = dayMinutes(row, 2);
        for (int v : minutes)
            sink = sink + SlotTimeText(v).size();
    });

    std::printf("row lookup by DayKey, mean over the 366 dates: median %.0f ns\n", everyDay);
    std::printf("row lookup by DayKey, 31 December (last row):   median %.0f ns\n", worstDay);
    std::printf("dayMinutes + 6 x SlotTimeText for one day:      median %.0f ns\n", oneDay);
    return 0;
}
