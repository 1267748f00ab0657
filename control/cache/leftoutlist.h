#pragma once

#include <QString>
#include <QStringList>

// The calendar files a rebuild left out, whole or in part, kept beside the cache file it wrote
// so that whoever loads the cache can say so: one "path: why" a line, UTF-8. There is no such
// file when the rebuild read everything.
QString LeftOutListFileOf(const QString &cacheFile);
// Replaces the list of cacheFile by lines (removes it when there are none); false on failure.
bool WriteLeftOutList(const QString &cacheFile, const QStringList &lines);
// The list of cacheFile; empty when there is none or it cannot be read.
QStringList ReadLeftOutList(const QString &cacheFile);

// What the update indicator says of count files left out; empty for none.
QString LeftOutStatus(int count);
