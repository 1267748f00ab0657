#include "yearrecords.h"

#include "cacherecord.h"
#include "oadate.h"
#include "planneryear.h"
#include "restriction.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

using namespace Store;

namespace {

// The record of an item, when the year shows it.
std::optional<CacheRecord> RecordOf(const ItemPtr &item, const YearRequest &request)
{
    // A meeting request's record carries the request's identifier.
    const AppointmentItemPtr a = AppointmentOf(item);
    if (!a || !(request.allEvents || a->AllDayEvent()))
        return std::nullopt;
    return CacheRecord{item->EntryID(), a->Subject(), a->Categories(), a->Start(), a->End()};
}

// How often a long loop asks whether to carry on: each ask may yield to the message loop.
constexpr int kAskEvery = 256;

// The year from the parts of the files that did not change and the files that did: parts and
// a stable sort by start give the order of one enumeration of every file, which sorts the
// files' items, in file-name order, by start.
bool WriteFromParts(ItemsPtr items, const YearRequest &request, CacheRecordWriter &writer,
                    const std::function<bool()> &carryOn, QStringList *leftOut, KeptParts &kept)
{
    const QHash<QString, FileStamp> stamps = items->fileStamps();
    YearParts previous = std::exchange(kept.files, YearParts());
    YearParts &parts = kept.files;
    parts.reserve(stamps.size());
    QStringList changed;
    for (auto it = stamps.cbegin(); it != stamps.cend(); ++it) {
        const auto found = previous.find(it.key());
        if (found != previous.end() && found->stamp == it.value())
            parts.insert(it.key(), std::move(*found));
        else
            changed.append(it.key());
    }
    // Nothing new when every file was kept and none went: the parts on the disk stay as they are.
    kept.changed = !changed.isEmpty() || parts.size() != previous.size();
    previous.clear();
    if (!changed.isEmpty()) {
        items->setFileNames(changed);
        const QList<ItemPtr> all = items->all();
        if (!carryOn())
            return false;
        for (const QString &name : std::as_const(changed))
            parts.insert(name, FilePart{stamps[name], items->leftOutFiles().value(name), {}});
        int asked = 0;
        for (const ItemPtr &item : all) {
            if (++asked % kAskEvery == 0 && !carryOn())
                return false;
            if (std::optional<CacheRecord> r = RecordOf(item, request))
                parts[item->fileName()].records.push_back(std::move(*r));
        }
    }

    QStringList names = parts.keys();
    names.sort();
    std::vector<const CacheRecord *> order;
    QStringList lines;
    for (const QString &name : std::as_const(names)) {
        const FilePart &part = parts[name];
        for (const CacheRecord &r : part.records)
            order.push_back(&r);
        if (!part.leftOut.isEmpty())
            lines.append(part.leftOut);
    }
    std::stable_sort(order.begin(), order.end(), [](const CacheRecord *a, const CacheRecord *b) {
        return a->StartDate < b->StartDate;
    });
    int asked = 0;
    for (const CacheRecord *r : order) {
        if (++asked % kAskEvery == 0 && !carryOn())
            return false;
        writer.write(*r);
    }
    if (leftOut) {
        lines.sort();
        *leftOut = lines;
    }
    return true;
}

} // namespace

bool WriteYearRecords(NameSpace &session, const YearRequest &request, CacheRecordWriter &writer,
                      const std::function<bool()> &carryOn, QStringList *leftOut, KeptParts *parts)
{
    const PlannerYear year(request.year, request.startMonth);
    const QString restriction =
        RangeRestriction(OADate::toDate(year.PlannerStart()), OADate::toDate(year.PlannerEnd()));
    const FolderPtr folder = session.GetFolderFromID(request.folderId, request.storeId);
    ItemsPtr items = folder->Items();
    items->Sort(QStringLiteral("[Start]"));
    items->setIncludeRecurrences(true);
    items = items->Restrict(restriction);
    items->SetColumns(QStringLiteral("[End]") + request.listSeparator + QStringLiteral(" [Start]"));
    items->Sort(QStringLiteral("[Start]"));
    // Expanding the occurrences is most of the work: a cancel must not wait for it.
    items->setProgress(carryOn);
    if (parts)
        return WriteFromParts(items, request, writer, carryOn, leftOut, *parts);
    const QList<ItemPtr> all = items->all();
    if (!carryOn()) // the enumeration stopped short: what it gives is not the year
        return false;
    if (leftOut)
        *leftOut = items->leftOut();
    for (const ItemPtr &item : all) {
        if (!carryOn())
            return false;
        if (std::optional<CacheRecord> r = RecordOf(item, request))
            writer.write(*r);
    }
    return true;
}
