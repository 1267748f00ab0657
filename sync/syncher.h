#pragma once

#include "calendarstore.h"
#include "syncherlink.h"

#include <QTimer>

class Dialogs;

// Rebuilds the cache file of one calendar folder and one planner year from the calendar store,
// without blocking whoever asked: UpdateCache switches the write timer on and returns; the
// rebuild runs on the timer's next tick, yielding to the event loop after every item so that a
// CancelUpdate can reach it, and reports by WriteComplete. quorvel-sync serves these objects on
// the session bus; a planner without a bus uses one in its own process.
class Syncher : public SyncherLink
{
    Q_OBJECT
public:
    // dialogs (not owned) hear what reading the user's list separator has to say; the rebuild
    // itself reports by WriteComplete alone.
    Syncher(Dialogs &dialogs, const Store::ProfileOptions &store = Store::ProfileOptions(),
            QObject *parent = nullptr);
    ~Syncher() override;

    bool Updating = false;
    // The new file is being put in the cache file's place.
    bool WritingFile = false;

    void UpdateCache() override;
    void CancelUpdate() override;
    bool rebuildingHere() const override { return Updating; }

private:
    void tick();
    void rebuild();

    Store::ProfileOptions m_store;
    QTimer m_writeTimer;
    bool m_cancel = false;
    QString m_listSeparator;
};
