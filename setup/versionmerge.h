#pragma once

// Two versions of one item that two people changed between synchronisations, made one so that
// neither change is lost without a trace: the category table is merged by category name, and
// of any other item the later version is kept while the earlier one becomes a copy of its own.

#include <QByteArray>
#include <QString>

#include <optional>

struct MergedVersions
{
    QByteArray text;         // what both sides keep
    QByteArray conflictCopy; // the other version as an item of its own, or empty
    QString uid;             // the item's
    QString copyUid;         // the copy's
    QString warning;         // what the merge had to leave out, in words; empty when nothing
};

// Nothing when either text is no item. A merged category table never holds more categories than
// the planner reads: those of the earlier version past that are left out, and warning says so.
std::optional<MergedVersions> MergeVersions(const QByteArray &a, const QByteArray &b);

// The collection (a directory of collections) whose items hold one with exactly that UID; empty
// when none does or uid is empty.
QString CollectionHolding(const QString &collections, const QString &uid);
