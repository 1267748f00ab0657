#include "syncher.h"

#include "cachefile.h"
#include "cacherecord.h"
#include "dialogs.h"
#include "fileio.h"
#include "leftoutlist.h"
#include "oadate.h"
#include "planneryear.h"
#include "qverror.h"
#include "regio.h"
#include "restriction.h"
#include "yield.h"

#include <utility>

using namespace Store;

Syncher::Syncher(Dialogs &dialogs, const ProfileOptions &store, QObject *parent)
    : SyncherLink(parent), m_dialogs(dialogs), m_store(store)
{
    m_writeTimer.stop();
    m_writeTimer.setInterval(55);
    connect(&m_writeTimer, &QTimer::timeout, this, &Syncher::tick);
    m_listSeparator = RegIO(dialogs).ListSeparator();
}

Syncher::~Syncher()
{
    m_writeTimer.stop();
}

void Syncher::UpdateCache()
{
    m_writeTimer.start();
}

void Syncher::CancelUpdate()
{
    m_cancel = true;
}

void Syncher::tick()
{
    // A second request while a rebuild yields waits for it, as does a request for a cache name
    // another synchroniser of this process is writing (a second planner on the same folder):
    // both would write the same temp file. The timer asks again.
    if (Updating || CacheNameBusy(CacheFileName))
        return;
    m_writeTimer.stop();
    try {
        rebuild();
    } catch (const QvError &e) {
        emit WriteComplete(SynchFetchFailed, e.number());
    } catch (const std::exception &) {
        emit WriteComplete(SynchFetchFailed, 7);
    }
}

void Syncher::rebuild()
{
    Updating = true;
    SynchResult result = SynchWritten;
    qint32 error = 0;
    try {
        auto session = std::make_shared<NameSpace>(m_store);
        PlannerYear year(CalStartYear, CalStartMonth);
        const QString restriction = RangeRestriction(OADate::toDate(year.PlannerStart()),
                                                     OADate::toDate(year.PlannerEnd()));
        QStringList leftOut;
        const CacheWriteResult written = ReplaceCacheFile(
            {CacheFileName, TempFileName},
            [&](CacheRecordWriter &writer) {
                const FolderPtr folder = session->GetFolderFromID(FolderID, StoreID);
                ItemsPtr items = folder->Items();
                items->Sort(QStringLiteral("[Start]"));
                items->setIncludeRecurrences(true);
                items = items->Restrict(restriction);
                items->SetColumns(QStringLiteral("[End]") + m_listSeparator +
                                  QStringLiteral(" [Start]"));
                items->Sort(QStringLiteral("[Start]"));
                // Expanding the occurrences is most of a rebuild: a cancel must not wait for it.
                items->setProgress([this] {
                    YieldToLoop();
                    return !m_cancel;
                });
                const auto cancelled = [this] { return std::exchange(m_cancel, false); };
                const QList<ItemPtr> all = items->all();
                if (cancelled()) // the enumeration stopped short: what it gives is not the year
                    return false;
                leftOut = items->leftOut();
                for (const ItemPtr &item : all) {
                    if (cancelled())
                        return false;
                    // A meeting request's record carries the request's identifier.
                    const AppointmentItemPtr a = AppointmentOf(item);
                    if (a && (AllEvents || a->AllDayEvent()))
                        writer.write(item->EntryID(), a->Subject(), a->Categories(), a->Start(),
                                     a->End());
                    YieldToLoop();
                }
                return true;
            },
            [this](bool on) { WritingFile = on; });
        switch (written.stage) {
        case CacheWriteResult::Done:
            // What the new cache lacks; a list that cannot be written only goes unsaid.
            if (!WriteLeftOutList(CacheFileName, leftOut))
                qWarning("Cannot write %s", qPrintable(LeftOutListFileOf(CacheFileName)));
            break;
        case CacheWriteResult::TempNotDeleted:
            result = SynchTempFileFailed;
            error = written.errorNumber;
            break;
        case CacheWriteResult::TempNotOpened:
            FileErrorMessage(written.errorNumber, m_dialogs);
            result = SynchTempFileFailed;
            break;
        case CacheWriteResult::Cancelled:
            result = SynchCancelled;
            break;
        case CacheWriteResult::RenameFailed:
            result = SynchOldCacheKept;
            error = written.errorNumber;
            break;
        case CacheWriteResult::WriteFailed:
            result = SynchRebuildFailed;
            error = written.errorNumber;
            break;
        }
    } catch (const QvError &e) {
        result = SynchRebuildFailed;
        error = e.number();
    }
    WritingFile = false;
    Updating = false;
    emit WriteComplete(result, error);
}
