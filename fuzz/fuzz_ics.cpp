// Calendar text as import and the store read it: split into items by the text walk, each parsed,
// expanded over a planner year, written and read again; and the same bytes as one item file.

#include "fuzzapp.h"
#include "icalitem_p.h"
#include "oadate.h"

#include <QDate>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    const double from = OADate::fromDateTime(QDate(2026, 1, 1)),
                 to = OADate::fromDateTime(QDate(2026, 12, 31));
    QStringList problems;
    IcalItem::splitEach(
        text,
        [&](std::unique_ptr<IcalItem> item) {
            IcalItem::Notes notes;
            for (const IcalItem::Occurrence &o : item->occurrences(from, to, &notes))
                (void)IcalItem::textOf(o.source, "SUMMARY");
            QString problem;
            const auto again = IcalItem::parse(item->serialize(), &problem);
            if (again)
                (void)again->times();
        },
        &problems);
    QString problem;
    if (const auto item = IcalItem::parse(text, &problem)) {
        (void)item->occurrences(from, to);
        (void)item->categories();
        if (!item->overrides().isEmpty() && item->hasMaster()) {
            const auto all = item->occurrences(from, to);
            if (!all.isEmpty())
                item->excludeInstance(all.first());
        }
    }
    return 0;
}
