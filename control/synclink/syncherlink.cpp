#include "syncherlink.h"

void ReleaseSyncherLink(std::unique_ptr<SyncherLink> link)
{
    if (!link)
        return;
    QObject::disconnect(link.get(), &SyncherLink::WriteComplete, nullptr, nullptr);
    link->CancelUpdate();
    if (link->rebuildingHere()) {
        SyncherLink *running = link.release();
        QObject::connect(running, &SyncherLink::WriteComplete, running, &QObject::deleteLater);
    }
}
