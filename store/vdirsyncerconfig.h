#pragma once

// Writing vdirsyncer's configuration and running it: the CalDAV connection's pairs and the
// subscriptions of marked days are kept by it, so that the planner itself never fetches a
// calendar from the network.

#include <QString>
#include <QStringList>

#include <functional>

namespace Store {

// A text, or a list, as vdirsyncer's configuration writes values: JSON.
QString VdirsyncerValue(const QString &text);
QString VdirsyncerValue(const QStringList &list);
// The sections of a configuration with the lines before the first, each from its header on; and
// a section's header line ("[pair name]").
QStringList VdirsyncerSections(const QString &config);
QString VdirsyncerSectionHeader(const QString &section);
// config without the sections headed by any of replaced, with sections after the rest and a
// [general] section naming statusPath where it has none.
QString VdirsyncerConfigWith(const QString &config, const QStringList &replaced,
                             const QString &sections, const QString &statusPath);
// Where the calendars subscribed to for marked days are kept, a vdir each: days to shade, never
// calendars of one's own to open.
QString SubscriptionsDirectory();
// Where the pairs written here keep vdirsyncer's status.
QString VdirsyncerStatusPath();
// Writes config to the user's configuration file (readable by the user alone); an empty text,
// or what kept it from being written.
QString WriteVdirsyncerConfig(const QString &path, const QString &config);

// vdirsyncer -c config with args, its output lines handed to progress as they come; it is told
// yes to every question (discovery asks before it makes a collection).
struct VdirsyncerRun
{
    bool started = false;
    bool succeeded = false;
    QString output;
    QString startError; // why it could not be started
};
VdirsyncerRun RunVdirsyncer(const QString &program, const QString &config, const QStringList &args,
                            const std::function<void(const QString &line)> &progress = {});

} // namespace Store
