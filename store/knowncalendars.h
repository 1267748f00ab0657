#pragma once

// The calendars the user keeps already: the vdir collections that khal and vdirsyncer are set up
// to read and synchronise. A session without a profile of its own opens them.

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace Store {

struct KnownCalendar
{
    QString path;        // the collection's directory, absolute
    QString name;        // the configuration's name of it, else the directory's
    QString displayName; // the collection's "displayname" file, else name
    QString colour;      // "#RRGGBB" from its "color" file, or empty
};

// The collections of the user's khal configuration ($XDG_CONFIG_HOME/khal/config) and
// vdirsyncer's ($VDIRSYNCER_CONFIG, else $XDG_CONFIG_HOME/vdirsyncer/config, else
// ~/.vdirsyncer/config) that exist, each once: khal's default calendar first, then khal's in
// their order, then vdirsyncer's.
QList<KnownCalendar> KnownCalendars();

// The vdirsyncer configuration those are read from, and a new account is written to.
QString VdirsyncerConfigPath();

// The collections one configuration names. home stands for "~"; environment variables in paths
// are expanded. Exposed for tests.
QList<KnownCalendar> KhalCalendars(const QString &configText, const QString &home);
QList<KnownCalendar> VdirsyncerCalendars(const QString &configText, const QString &home);

// What a collection's "displayname" file says, or empty.
QString CollectionDisplayName(const QString &dir);
// The colour a collection's "color" file gives ("#RRGGBB"), or empty.
QString CollectionColour(const QString &dir);

// The calendar the planner opens when none is named: the one last opened from its window, or
// the first calendar of an account connected since. A collection's directory, or empty.
QString RememberedCalendar();
// False when the setting cannot be written.
bool RememberCalendar(const QString &directory);
// The first known calendar whose directory lies under dir (an account's collections).
std::optional<KnownCalendar> FirstCalendarUnder(const QList<KnownCalendar> &calendars,
                                                const QString &dir);

// One store per directory that holds known calendars, as the session's profile would list it.
struct KnownStore
{
    QString root;
    QString name;            // unique among the stores
    QString defaultCalendar; // the first known calendar's directory name
    QStringList folders;     // the known calendars' directory names: the store's only folders
};
QList<KnownStore> KnownStores(const QList<KnownCalendar> &calendars);

} // namespace Store
