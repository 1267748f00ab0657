#include "syncher.h"

#include "cachefile.h"
#include "cacherecord.h"
#include "dialogs.h"
#include "leftoutlist.h"
#include "oadate.h"
#include "planneryear.h"
#include "qverror.h"
#include "regio.h"
#include "yearparts.h"
#include "yearrecords.h"
#include "yield.h"

#include <utility>

using namespace Store;

Syncher::Syncher(Dialogs &dialogs, const ProfileOptions &store, QObject *parent)
    : SyncherLink(parent), m_store(store)
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
    } catch (const std::exception &e) {
        emit WriteComplete(SynchFetchFailed, ErrorNumberOf(e));
    }
}

void Syncher::rebuild()
{
    Updating = true;
    SynchResult result = SynchWritten;
    qint32 error = 0;
    try {
        const auto session = std::make_shared<NameSpace>(m_store);
        const YearRequest request{FolderID,      StoreID,   CalStartYear,
                                  CalStartMonth, AllEvents, m_listSeparator};
        const QString partsFile = YearPartsFileOf(CacheFileName);
        const QByteArray partsKey = YearPartsKey(request);
        KeptParts parts = ReadYearParts(partsFile, partsKey).value_or(KeptParts());
        YearSource source(*session, request, [this] {
            YieldToLoop();
            return !m_cancel;
        });
        // No file changed since the cache beside the parts was written, and nobody wrote it
        // since: that cache is the year.
        const bool current =
            !m_cancel && StampOf(CacheFileName) == parts.cache && source.keptWhole(parts);
        if (!current) {
            QStringList leftOut;
            const CacheWriteResult written = ReplaceCacheFile(
                {CacheFileName, TempFileName},
                [&](CacheRecordWriter &writer) { return source.write(writer, &leftOut, &parts); },
                [this](bool on) { WritingFile = on; });
            result = SynchResultOf(written);
            error = SynchErrorOf(written);
            // What the new cache lacks; a list that cannot be written only goes unsaid.
            if (result == SynchWritten && !WriteLeftOutList(CacheFileName, leftOut))
                qWarning("Cannot write %s", qPrintable(LeftOutListFileOf(CacheFileName)));
            // Only a guide for the next rebuild, which without it reads every file.
            if (result == SynchWritten) {
                parts.cache = StampOf(CacheFileName).value_or(FileStamp());
                if (!WriteYearParts(partsFile, partsKey, parts))
                    qWarning("Cannot write %s", qPrintable(partsFile));
            }
        }
    } catch (const std::exception &e) {
        // Any failure, a library's or memory's too: a rebuild left Updating would never report
        // again, and its service would never leave.
        result = SynchRebuildFailed;
        error = ErrorNumberOf(e);
    }
    // A cancel that came after the last item is answered by this report.
    m_cancel = false;
    WritingFile = false;
    Updating = false;
    emit WriteComplete(result, error);
}
