#pragma once

#include "calendarstore.h"

#include <QObject>
#include <QTimer>

class Dialogs;

// Rebuilds the cache file of one calendar folder and one planner year from the calendar store,
// without blocking whoever asked: UpdateCache switches the write timer on and returns; the
// rebuild runs on the timer's next tick and reports by WriteComplete(SynchResult, SynchError):
//   1 written and in place; 2 the temp file could not be cleared or opened; 3 the old cache
//   could not be deleted (the new data stays in the temp file); 5 any other failure; 6
//   cancelled; 7 a failure of the timer's handler outside the rebuild.
// The properties are plain values the client sets before each UpdateCache.
class Syncher : public QObject
{
    Q_OBJECT
public:
    // Messages of the file helper go to dialogs (not owned).
    Syncher(Dialogs &dialogs, const Store::ProfileOptions &store = Store::ProfileOptions(),
            QObject *parent = nullptr);
    ~Syncher() override;

    QString StoreID;
    QString FolderID;
    bool AllEvents = false;
    qint16 CalStartYear = 0;
    qint16 CalStartMonth = 1;
    bool Updating = false;
    bool WritingFile = false;
    QString TempFileName;
    QString CacheFileName;

    void UpdateCache();
    void CancelUpdate();

signals:
    void WriteComplete(qint16 SynchResult, qint32 SynchError);

private:
    void tick();
    void rebuild();

    Dialogs &m_dialogs;
    Store::ProfileOptions m_store;
    QTimer m_writeTimer;
    bool m_cancel = false;
    QString m_listSeparator;
};
