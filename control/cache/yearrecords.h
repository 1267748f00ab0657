#pragma once

#include "calendarstore.h"

#include <QString>
#include <QStringList>

#include <functional>

class CacheRecordWriter;

// What a rebuild of one planner year reads: the folder, the year and whether timed
// appointments count.
struct YearRequest
{
    QString folderId;
    QString storeId;
    qint16 year = 0;
    qint16 startMonth = 1;
    bool allEvents = false;
    QString listSeparator = QStringLiteral(",");
};

// Writes the cache records of the appointments that touch the planner year, in start order, as
// the cache file holds them. carryOn is asked while the occurrences are expanded and before
// every item; false stops the reading, and what was written is then not the year. The calendar
// files the enumeration left out go to leftOut. False when stopped; raises QvError when the
// folder cannot be read. Failed writes show at the writer's flush.
bool WriteYearRecords(Store::NameSpace &session, const YearRequest &request,
                      CacheRecordWriter &writer, const std::function<bool()> &carryOn,
                      QStringList *leftOut = nullptr);
