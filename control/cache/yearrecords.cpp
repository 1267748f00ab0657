#include "yearrecords.h"

#include "cacherecord.h"
#include "oadate.h"
#include "planneryear.h"
#include "restriction.h"

using namespace Store;

bool WriteYearRecords(NameSpace &session, const YearRequest &request, CacheRecordWriter &writer,
                      const std::function<bool()> &carryOn, QStringList *leftOut)
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
    const QList<ItemPtr> all = items->all();
    if (!carryOn()) // the enumeration stopped short: what it gives is not the year
        return false;
    if (leftOut)
        *leftOut = items->leftOut();
    for (const ItemPtr &item : all) {
        if (!carryOn())
            return false;
        // A meeting request's record carries the request's identifier.
        const AppointmentItemPtr a = AppointmentOf(item);
        if (a && (request.allEvents || a->AllDayEvent()))
            writer.write(item->EntryID(), a->Subject(), a->Categories(), a->Start(), a->End());
    }
    return true;
}
