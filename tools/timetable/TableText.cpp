#include "TableText.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace TimetableGen {

namespace {
// A field as the table writes it: optional leading spaces, an optional minus, then digits.
bool readNumber(const std::string &field, int *value)
{
    size_t pos = field.find_first_not_of(' ');
    if (pos == std::string::npos)
        return false;
    const bool negative = field[pos] == '-';
    if (negative)
        ++pos;
    if (pos == field.size() || field.find_first_not_of("0123456789", pos) != std::string::npos)
        return false;
    *value = std::stoi(field.substr(pos)) * (negative ? -1 : 1);
    return true;
}
} // namespace

std::string TableText::formatRow(const CalendarDay &day, const DayMinutes &minutes)
{
    char buffer[8];
    std::string row;
    std::snprintf(buffer, sizeof buffer, "%02d%02d", day.day, day.month);
    row += buffer;
    for (int slot = 0; slot < SlotCount; ++slot) {
        std::snprintf(buffer, sizeof buffer, "%04d", minutes[0][slot]);
        row += buffer;
    }
    for (int city = 1; city < CityCount; ++city) {
        for (int slot = 0; slot < SlotCount; ++slot) {
            std::snprintf(buffer, sizeof buffer, "%4d", fieldValue(minutes, city, slot));
            row += buffer;
        }
    }
    return row;
}

bool TableText::parseRow(const std::string &text, AnchorRow *row, std::string *error)
{
    if (int(text.size()) != RowLength) {
        *error = "row is " + std::to_string(text.size()) + " characters long";
        return false;
    }
    if (text.find_first_not_of("0123456789 -") != std::string::npos) {
        *error = "row holds a character other than digits, space and minus";
        return false;
    }
    int day = 0;
    int month = 0;
    if (!readNumber(text.substr(0, 2), &day) || !readNumber(text.substr(2, 2), &month)) {
        *error = "row does not begin with a day and a month";
        return false;
    }
    const std::vector<CalendarDay> days = tableDays();
    row->dayIndex = -1;
    for (size_t i = 0; i < days.size(); ++i) {
        if (days[i].day == day && days[i].month == month)
            row->dayIndex = int(i);
    }
    if (row->dayIndex < 0) {
        *error = "row key " + text.substr(0, 4) + " is not a date";
        return false;
    }
    for (int city = 0; city < CityCount; ++city) {
        for (int slot = 0; slot < SlotCount; ++slot) {
            int value = 0;
            if (!readNumber(text.substr(24 * city + 4 * slot + 4, 4), &value)) {
                *error = "field of city " + std::to_string(city) + " slot " + std::to_string(slot)
                        + " is not a number";
                return false;
            }
            row->minutes[city][slot] = city == 0 ? value : row->minutes[0][slot] + value;
        }
    }
    row->text = text;
    return true;
}

bool TableText::readAnchors(const std::string &path, std::vector<AnchorRow> *anchors,
                            std::string *error)
{
    std::ifstream in(path);
    if (!in) {
        *error = "cannot read " + path;
        return false;
    }
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (line.empty())
            continue;
        AnchorRow row;
        std::string why;
        if (!parseRow(line, &row, &why)) {
            *error = path + ":" + std::to_string(lineNumber) + ": " + why;
            return false;
        }
        for (const AnchorRow &other : *anchors) {
            if (other.dayIndex == row.dayIndex) {
                *error = path + ":" + std::to_string(lineNumber) + ": day given twice";
                return false;
            }
        }
        anchors->push_back(row);
    }
    if (anchors->empty()) {
        *error = path + " holds no row";
        return false;
    }
    return true;
}

std::string TableText::plainRows(const Table &table)
{
    const std::vector<CalendarDay> days = tableDays();
    std::string out;
    for (size_t d = 0; d < table.size(); ++d)
        out += formatRow(days[d], table[d]) + "\n";
    return out;
}

std::string TableText::includeFile(const Table &table, const std::vector<std::string> &comments)
{
    const std::vector<CalendarDay> days = tableDays();
    std::string out;
    for (const std::string &comment : comments)
        out += "// " + comment + "\n";
    for (size_t d = 0; d < table.size(); ++d)
        out += "\"" + formatRow(days[d], table[d]) + "\",\n";
    return out;
}

} // namespace TimetableGen
