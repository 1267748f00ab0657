#pragma once

#include <QString>

// A calendar of marked days subscribed to by its address (a school's holidays, a team's
// shutdowns): vdirsyncer's read-only http storage keeps it as a vdir, in a pair of the user's
// vdirsyncer configuration as the CalDAV connection writes its own, so the planner never fetches
// from the network itself; vdirsyncer's timer, where the CalDAV connection installed it, keeps it
// current.

// The pair's name: "quorvel_sub_" and the letters of the host, then a digest of the address.
QString SubscriptionPairName(const QString &url);
// The vdir the pair keeps the calendar in.
QString SubscriptionDirectory(const QString &url);
// The pair and its two storages.
QString SubscriptionSections(const QString &url);
// Writes the pair into the user's vdirsyncer configuration (replacing one of the same address)
// and fetches the calendar once. False, with *error saying why, when it cannot be had.
bool Subscribe(const QString &url, const QString &vdirsyncer, QString *error);
