#pragma once

#include "clientversion.h"
#include "collectionex.h"
#include "filtermodel.h"

#include <QStringList>

#include <functional>
#include <optional>

class Dialogs;
class RegIO;
namespace Store {
class NameSpace;
}

// What the filter dialog shows and does, without its window: a sorted list of the planner's
// categories (and, on request, the calendar's master list) with check marks, and the filter as
// text; ticking an entry writes the text, typing the text ticks its entries. OK applies and
// stores the filter; closing in any other way changes nothing.
class FilterChoice
{
public:
    // The master category list, or nothing when there is none to be had.
    using MasterReader = std::function<std::optional<QStringList>()>;

    // legends: the planner's category names from position 0 (empty) on, as GetStringList gives
    // them; separator: the category separator.
    FilterChoice(const FilterModel &filter, QStringList legends, QString separator,
                 MasterReader readMaster);

    const QStringList &entries() const { return m_entries; }
    bool isTicked(int entry) const { return m_ticked.value(entry); }
    const QString &text() const { return m_text; }
    bool clearEnabled() const { return !m_text.isEmpty(); }
    bool usingAnd() const { return m_usingAnd; }
    void setUsingAnd(bool on) { m_usingAnd = on; }
    bool includeMasterList() const { return m_includeMaster; }
    // The categories of the text, in the order they were chosen.
    QStringList chosen() const;

    void tick(int entry, bool on);
    // The user typed into the text: its names tick their entries.
    void textEdited(const QString &text);
    void clear();
    void setIncludeMasterList(bool on);
    // OK: the text and the mode become the filter, stored under the planner's title. When they
    // cannot be stored the filter applies all the same, and the user is told it was not kept.
    void accept(FilterModel &filter, const QString &titleName, Dialogs &dialogs) const;

private:
    void parse(const QString &text);
    QString join() const;
    void fill();
    void setChecks();

    QStringList m_legends;
    QString m_separator;
    MasterReader m_readMaster;
    CCollectionEx m_chosen;
    QStringList m_entries;
    QList<bool> m_ticked;
    QString m_text;
    bool m_usingAnd = false;
    bool m_includeMaster = false;
};

// Sorts list[lo..hi] in place by the locale's comparison without regard to letter case: the
// quicksort the dialog has always used, so equal names may change places.
void SortTextList(QStringList &list, int lo, int hi);

// The master category list of the calendar client: before version 12 the registry's
// "MasterList" (text before 10, UTF-16 bytes for 10 and 11), from 12 on the store's list
// followed by one empty position. Nothing for a negative version or a value that cannot be read.
std::optional<QStringList> ReadMasterCategories(ClientVersion client, const RegIO &registry,
                                                Store::NameSpace *session);
