#include "DailyTable.h"

#include <iterator>

namespace {

// Compiled in rather than read from a file: the program must find its times even when the
// data folder beside it is damaged or missing.
const char *const rowTexts[] = {
#include "DailyTableRows.inc"
};

static_assert(std::size(rowTexts) == DailyTable::RowCount, "the table holds one row per day");

} // namespace

const QStringList &DailyTable::rows()
{
    static const QStringList list = [] {
        QStringList texts;
        texts.reserve(RowCount);
        for (const char *text : rowTexts)
            texts.append(QString::fromLatin1(text));
        return texts;
    }();
    return list;
}
