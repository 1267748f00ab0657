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

} // namespace

YearSource::YearSource(NameSpace &session, const YearRequest &request,
                       std::function<bool()> carryOn)
    : m_request(request), m_carryOn(std::move(carryOn))
{
    const PlannerYear year(request.year, request.startMonth);
    const QString restriction =
        RangeRestriction(OADate::toDate(year.PlannerStart()), OADate::toDate(year.PlannerEnd()));
    const FolderPtr folder = session.GetFolderFromID(request.folderId, request.storeId);
    m_items = folder->Items();
    m_items->Sort(QStringLiteral("[Start]"));
    m_items->setIncludeRecurrences(true);
    m_items = m_items->Restrict(restriction);
    m_items->SetColumns(QStringLiteral("[End]") + request.listSeparator +
                        QStringLiteral(" [Start]"));
    m_items->Sort(QStringLiteral("[Start]"));
    // Expanding the occurrences is most of the work: a cancel must not wait for it.
    m_items->setProgress(m_carryOn);
}

const QHash<QString, FileStamp> &YearSource::stamps()
{
    if (!m_stamps)
        m_stamps = m_items->fileStamps();
    return *m_stamps;
}

bool YearSource::keptWhole(const KeptParts &parts)
{
    const QHash<QString, FileStamp> &now = stamps();
    if (now.size() != parts.files.size())
        return false;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        const auto found = parts.files.constFind(it.key());
        if (found == parts.files.cend() || found->stamp != it.value())
            return false;
    }
    return true;
}

bool YearSource::write(CacheRecordWriter &writer, QStringList *leftOut, KeptParts *parts)
{
    if (parts)
        return writeFromParts(writer, leftOut, *parts);
    const QList<ItemPtr> all = m_items->all();
    if (!m_carryOn()) // the enumeration stopped short: what it gives is not the year
        return false;
    if (leftOut)
        *leftOut = m_items->leftOut();
    for (const ItemPtr &item : all) {
        if (!m_carryOn())
            return false;
        if (std::optional<CacheRecord> r = RecordOf(item, m_request))
            writer.write(*r);
    }
    return true;
}

// The year from the parts of the files that did not change and the files that did: parts and
// a stable sort by start give the order of one enumeration of every file, which sorts the
// files' items, in file-name order, by start.
bool YearSource::writeFromParts(CacheRecordWriter &writer, QStringList *leftOut, KeptParts &kept)
{
    if (!m_carryOn()) // a cancel that came first, though no item may be read
        return false;
    const QHash<QString, FileStamp> &now = stamps();
    LoadPartRecords(kept); // when they cannot be read, every file is read
    YearParts previous = std::exchange(kept.files, YearParts());
    YearParts &parts = kept.files;
    parts.reserve(now.size());
    QStringList changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        const auto found = previous.find(it.key());
        if (found != previous.end() && found->stamp == it.value())
            parts.emplace(it.key(), std::move(*found));
        else
            changed.append(it.key());
    }
    previous.clear();
    if (!changed.isEmpty()) {
        m_items->setFileNames(changed);
        const QList<ItemPtr> all = m_items->all();
        if (!m_carryOn())
            return false;
        for (const QString &name : std::as_const(changed))
            parts.insert(name, FilePart{now[name], m_items->leftOutFiles().value(name), {}});
        int asked = 0;
        for (const ItemPtr &item : all) {
            if (++asked % kAskEvery == 0 && !m_carryOn())
                return false;
            if (std::optional<CacheRecord> r = RecordOf(item, m_request))
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
        if (++asked % kAskEvery == 0 && !m_carryOn())
            return false;
        writer.write(*r);
    }
    if (leftOut) {
        lines.sort();
        *leftOut = lines;
    }
    return true;
}

bool WriteYearRecords(NameSpace &session, const YearRequest &request, CacheRecordWriter &writer,
                      const std::function<bool()> &carryOn, QStringList *leftOut)
{
    return YearSource(session, request, carryOn).write(writer, leftOut);
}
