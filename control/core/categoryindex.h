#pragma once

#include <QString>
#include <QStringList>

// Position (1..N) of an event's category in the category table names: the first piece of the
// categories text (split at separator, each piece trimmed) that equals a name exactly, taking
// the pieces in their order. No match gives -1 when non-category items are hidden, else N, the
// catch-all.
qint16 CategoryIndexOf(const QString &categories, const QStringList &names,
                       const QString &separator, bool hideNonCategoryItems);
