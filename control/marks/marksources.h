#pragma once

#include "daymarks.h"
#include "storetypes.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One calendar of days that a planner title marks under its year.
struct MarkSource
{
    enum class Kind { Holidays, Calendar, File, Subscription };
    Kind kind = Kind::Holidays;
    QString value;         // the region, the folder's path in the store, the file, the address
    bool regional = false; // holidays of parts of the region too

    // As stored and given on command lines: "holidays:DE_BY", "holidays:DE_BY+regional",
    // "calendar:Store\\Folder", "file:/path/to/school.ics",
    // "subscription:https://example.org/holidays.ics".
    QString spec() const;
    static std::optional<MarkSource> parse(const QString &spec);
    // What the legend and the label call it.
    QString name() const;
    bool operator==(const MarkSource &o) const = default;
};

// The sources a title marks, kept beside its filter; none until the user chose some.
QList<MarkSource> StoredMarkSources(const QString &titleName);
// False when the settings file cannot be written.
bool StoreMarkSources(const QString &titleName, const QList<MarkSource> &sources);
// The sources of a comma-separated list of specs; the specs it cannot read go to wrong.
QList<MarkSource> ParseMarkSources(const QString &specs, QStringList *wrong);

// The colour of the n-th source: light, distinct from the weekends' and from each other.
quint32 MarkColour(int n);

// The days the sources mark from..to (both included). A calendar source is looked up in session;
// what a source cannot give (gcal missing, a folder or file gone) goes to problems, and the
// others are marked all the same.
DayMarks LoadDayMarks(const QList<MarkSource> &sources, const QDate &from, const QDate &to,
                      Store::NameSpace *session, QStringList *problems);
