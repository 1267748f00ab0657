#pragma once

#include "calendarstore.h"
#include "plannerstate.h"

#include <QStringList>

class Dialogs;

// The category table kept in the calendar folder itself, as a hidden item with named properties,
// so everybody who opens the folder with the same planner title sees the same colours. Older
// planners kept the table as lines in an appointment's body; those lists are read and adopted.
class CategoryStore
{
public:
    // The most categories a stored table may hold; a table that says more is not read.
    static constexpr int kMaxStoredCategories = 499;
    static const QString kPropertySet;  // {FFF40745-D92F-4C11-9E14-92701F001EB3}
    static const QString kMessageClass; // IPM.Calendar.Quorvel.Categories
    static const QString kOldSubject;   // the fixed subject of the oldest lists
    // The table item's subject is this followed by the planner's title.
    static const QString kSubjectPrefix;

    CategoryStore(Dialogs &dialogs, Store::NameSpacePtr session, QString folderId, QString storeId);

    // Fills the table: the stored item, else the older list, else the default table.
    // False when the folder keeps no table and the default table was taken.
    bool LoadCategories(CategoryTable &table, const QString &subject);
    // False (table untouched) when there is no usable stored item.
    bool ReadCategoryStore(CategoryTable &table, const QString &subject);
    // The older list's lines (a header, then "name|colour"), or the default table's.
    QStringList ReadLegacyCategoryList(const QString &subject);
    // Writes the whole table to the stored item, creating it when it does not exist.
    void SaveCategories(const CategoryTable &table, const QString &subject);

private:
    Store::HiddenItemsPtr hiddenItems(bool &reported);
    QStringList bodyLines(const Store::AppointmentItemPtr &item) const;

    Dialogs &m_dialogs;
    Store::NameSpacePtr m_session;
    QString m_folderId;
    QString m_storeId;
};

// CatIndex of every event of the store against the current table, in store order.
void ResolveEventCategories(PlannerState &state);
// Positions 0..N: 0 empty, then each name up to its first "|".
QStringList GetStringList(const CategoryTable &table);
// An entered name without "|" and control characters; empty when it is only spaces.
QString CleanCategoryName(const QString &text);
// Text without leading and trailing characters of code 32 or below.
QString TrimControlChars(const QString &text);
