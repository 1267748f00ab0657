#pragma once

#include "calendarstore.h"
#include "yearparts.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

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

// The folder of a planner year as a rebuild reads it: the appointments that touch the year, in
// start order. carryOn is asked while the occurrences are expanded and before every item; false
// stops the reading, and what was written is then not the year.
class YearSource
{
public:
    // Raises QvError when the folder cannot be found.
    YearSource(Store::NameSpace &session, const YearRequest &request,
               std::function<bool()> carryOn);

    // Whether parts (ReadYearParts) hold every file of the folder as it is now: none changed,
    // came or went.
    bool keptWhole(const KeptParts &parts);
    // Writes the cache records of the year, as the cache file holds them; the calendar files the
    // enumeration left out go to leftOut. False when stopped; raises QvError when the folder
    // cannot be read. Failed writes show at the writer's flush.
    // With parts (what the last rebuild of the same year gave), the records of the files whose
    // stamps are still those come from there and only the others are read; parts then hold
    // what this rebuild gave, for the next. The records are the same either way.
    bool write(CacheRecordWriter &writer, QStringList *leftOut = nullptr,
               KeptParts *parts = nullptr);

private:
    const QHash<QString, Store::FileStamp> &stamps();
    bool writeFromParts(CacheRecordWriter &writer, QStringList *leftOut, KeptParts &kept);

    const YearRequest m_request;
    std::function<bool()> m_carryOn;
    Store::ItemsPtr m_items;
    std::optional<QHash<QString, Store::FileStamp>> m_stamps;
};

// A YearSource's records without parts.
bool WriteYearRecords(Store::NameSpace &session, const YearRequest &request,
                      CacheRecordWriter &writer, const std::function<bool()> &carryOn,
                      QStringList *leftOut = nullptr);
