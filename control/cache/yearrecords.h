#pragma once

#include "calendarstore.h"
#include "yearparts.h"

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
// With parts (what the last rebuild of the same year gave, ReadYearParts), the records of the
// files whose stamps are still those come from there and only the others are read; parts then
// hold what this rebuild gave, for the next, and say whether that differs. The records are the
// same either way.
bool WriteYearRecords(Store::NameSpace &session, const YearRequest &request,
                      CacheRecordWriter &writer, const std::function<bool()> &carryOn,
                      QStringList *leftOut = nullptr, KeptParts *parts = nullptr);
