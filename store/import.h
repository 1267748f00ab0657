#pragma once

#include "storetypes.h"

#include <QByteArray>
#include <QStringList>

namespace Store {

// Writes the events of a calendar file into folder, one item per UID. An item whose UID the
// folder holds already is written over (in its own file), so importing again updates.
struct ImportResult
{
    int added = 0;
    int updated = 0;
    QStringList problems;
};
ImportResult ImportCalendar(Folder &folder, const QByteArray &text);

} // namespace Store
