// Generates the program's built-in timetable: the sun's position for the five cities, fitted
// to the rows the table must keep, then pinned to them exactly.
//
//   tirvelon-timetable-gen --anchors anchor-rows.txt --rows-out DailyTableRows.inc
//                          [--unpinned-out unpinned-rows.txt]
//
// Prints the fitted parameters, the residuals and the checks; exits 1 when a check fails.

#include "TableChecks.h"
#include "TableText.h"
#include "TimetableBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <tuple>

using namespace TimetableGen;

namespace {

const char *const slotNames[SlotCount]
        = { "dawn", "sunrise", "noon", "afternoon", "sunset", "night" };

bool writeFile(const std::string &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

std::string parameterLine(const FitResult &fit)
{
    char buffer[200];
    std::snprintf(buffer, sizeof buffer,
                  "dawn angle %.1f degrees, afternoon shadow factor %d, precaution minutes "
                  "%d %d %d %d %d (night = sunset + %d)",
                  fit.solar.dawnAngle, fit.solar.shadowFactor, fit.precaution[0], fit.precaution[1],
                  fit.precaution[2], fit.precaution[3], fit.precaution[4], NightAfterSunsetMinutes);
    return buffer;
}

void printResiduals(const TimetableFit &fitter, const FitResult &fit)
{
    const std::vector<DayMinutes> residuals = fitter.residuals(fit);
    std::printf("\nResidual of the unpinned computation, stored field minus computed field\n");
    std::printf("(city 0: base time; cities 1-4: offset), at rows");
    for (const AnchorRow &anchor : fitter.anchors())
        std::printf(" %d", anchor.dayIndex);
    std::printf(":\n");
    for (int city = 0; city < CityCount; ++city) {
        for (int slot = 0; slot < SlotCount; ++slot) {
            std::printf("  %-13s %-9s", cities()[city].name, slotNames[slot]);
            double squares = 0;
            for (const DayMinutes &r : residuals) {
                std::printf(" %4d", r[city][slot]);
                squares += double(r[city][slot]) * r[city][slot];
            }
            std::printf("   rms %5.2f\n", std::sqrt(squares / residuals.size()));
        }
    }
}

void printSteps(const Table &pinned, const Table &unpinned)
{
    const DayMinutes finalSteps = TableChecks::maxSteps(pinned);
    const DayMinutes plainSteps = TableChecks::maxSteps(unpinned);
    std::printf("\nLargest day-to-day step per field, unpinned / final:\n");
    for (int city = 0; city < CityCount; ++city) {
        std::printf("  %-13s", cities()[city].name);
        for (int slot = 0; slot < SlotCount; ++slot)
            std::printf("  %s %d/%d", slotNames[slot], plainSteps[city][slot],
                        finalSteps[city][slot]);
        std::printf("\n");
    }
}

void printRanges(const Table &table)
{
    std::printf("\nFinal range of each city's times (minutes after midnight):\n");
    for (int city = 0; city < CityCount; ++city) {
        std::printf("  %-13s", cities()[city].name);
        for (int slot = 0; slot < SlotCount; ++slot) {
            int low = table[0][city][slot];
            int high = low;
            for (const DayMinutes &day : table) {
                low = std::min(low, day[city][slot]);
                high = std::max(high, day[city][slot]);
            }
            std::printf("  %s %d..%d", slotNames[slot], low, high);
        }
        std::printf("\n");
    }
}

// One line per run of consecutive days on which a field was held at its bound.
std::vector<std::string> holdLines(std::vector<TimetableBuilder::Hold> holds)
{
    std::sort(holds.begin(), holds.end(), [](const auto &a, const auto &b) {
        return std::tie(a.city, a.slot, a.dayIndex) < std::tie(b.city, b.slot, b.dayIndex);
    });
    std::vector<std::string> lines;
    const std::vector<CalendarDay> days = tableDays();
    size_t i = 0;
    while (i < holds.size()) {
        const TimetableBuilder::Hold &first = holds[i];
        size_t last = i;
        int furthest = first.computed;
        while (last + 1 < holds.size() && holds[last + 1].city == first.city
               && holds[last + 1].slot == first.slot
               && holds[last + 1].dayIndex == holds[last].dayIndex + 1) {
            ++last;
            if (std::abs(holds[last].computed - first.stored) > std::abs(furthest - first.stored))
                furthest = holds[last].computed;
        }
        const CalendarDay from = days[first.dayIndex];
        const CalendarDay to = days[holds[last].dayIndex];
        char buffer[200];
        std::snprintf(buffer, sizeof buffer, "%s %s %d/%d..%d/%d: computed %d, held at %d",
                      cities()[first.city].name, slotNames[first.slot], from.day, from.month,
                      to.day, to.month, furthest, first.stored);
        lines.push_back(buffer);
        i = last + 1;
    }
    return lines;
}

int report(const char *what, const std::vector<std::string> &findings)
{
    std::printf("%s: %s\n", what, findings.empty() ? "ok" : "FAILED");
    for (const std::string &line : findings)
        std::printf("  %s\n", line.c_str());
    return findings.empty() ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    std::string anchorsPath, rowsOut, unpinnedOut;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--anchors") && hasValue)
            anchorsPath = argv[++i];
        else if (!std::strcmp(argv[i], "--rows-out") && hasValue)
            rowsOut = argv[++i];
        else if (!std::strcmp(argv[i], "--unpinned-out") && hasValue)
            unpinnedOut = argv[++i];
        else {
            std::fprintf(stderr, "unknown argument %s\n", argv[i]);
            return 2;
        }
    }
    if (anchorsPath.empty()) {
        std::fprintf(stderr, "usage: %s --anchors FILE [--rows-out FILE] [--unpinned-out FILE]\n",
                     argv[0]);
        return 2;
    }

    std::vector<AnchorRow> anchors;
    std::string error;
    if (!TableText::readAnchors(anchorsPath, &anchors, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }

    const TimetableFit fitter(anchors);
    const FitResult fit = fitter.fit();
    std::printf("Fitted: %s\n", parameterLine(fit).c_str());
    printResiduals(fitter, fit);

    const TimetableBuilder builder(fit, anchors);
    printSteps(builder.pinned(), builder.unpinned());
    printRanges(builder.pinned());

    const std::vector<std::string> holds = holdLines(builder.holds());
    std::printf("\nWhere the sun runs past the table's value ranges (%zu values held at the "
                "bound):\n",
                builder.holds().size());
    for (const std::string &line : holds)
        std::printf("  %s\n", line.c_str());

    std::printf("\n");
    int failed = 0;
    failed |= report("anchor rows kept", TableChecks::anchorFindings(builder.pinned(), anchors));
    failed |= report("value ranges", TableChecks::rangeFindings(builder.pinned()));
    failed |= report("times increase", TableChecks::orderFindings(builder.pinned()));
    failed |= report("steps within the astronomy's + 1",
                     TableChecks::stepFindings(builder.pinned(), builder.unpinned()));

    std::vector<std::string> comments = {
        "Written by tools/timetable (tirvelon-timetable-gen); do not edit by hand.",
        "Sun's position (libitl) at UTC+3 for the five cities:",
        parameterLine(fit) + ",",
        "plus a correction, linear from one row of tools/timetable/anchor-rows.txt",
        "to the next, that keeps those rows exactly. Held at the table's value ranges:",
    };
    for (const std::string &line : holds)
        comments.push_back("  " + line);
    if (!rowsOut.empty() && !writeFile(rowsOut, TableText::includeFile(builder.pinned(), comments)))
        return 2;
    if (!unpinnedOut.empty() && !writeFile(unpinnedOut, TableText::plainRows(builder.unpinned())))
        return 2;
    return failed;
}
