#include "items.h"

#include "calendarstore.h"
#include "oadate.h"
#include "qverror.h"
#include "sessiondata_p.h"

#include <QMetaMethod>
#include <QSet>

#include <algorithm>

namespace Store {
namespace {

RestrictionValues valuesOf(const IcalItem &item, icalcomponent *event, double start, double end,
                           bool allDay, const QString &entryId)
{
    RestrictionValues v;
    v.start = start;
    v.end = end;
    v.allDay = allDay;
    v.subject = IcalItem::textOf(event, "SUMMARY");
    v.location = IcalItem::textOf(event, "LOCATION");
    v.categories = IcalItem::categoriesOf(event);
    v.messageClass = ItemMessageClass(item);
    v.entryId = entryId;
    v.recurring = item.isRecurring();
    return v;
}

} // namespace

Items::Items(std::shared_ptr<SessionData> session, std::shared_ptr<FolderData> folder)
    : m_session(std::move(session)), m_folder(std::move(folder))
{
    connect(m_folder.get(), &FolderData::changed, this, &Items::onFolderChanged);
}

void Items::connectNotify(const QMetaMethod &signal)
{
    // The folder is watched from the first listener on, not for every view of it.
    if (signal == QMetaMethod::fromSignal(&Items::ItemAdd) ||
        signal == QMetaMethod::fromSignal(&Items::ItemChange) ||
        signal == QMetaMethod::fromSignal(&Items::ItemRemove))
        m_folder->watch();
}

ItemsPtr Items::Restrict(const QString &filter)
{
    const Restriction r = Restriction::parse(filter, m_session->locale);
    auto restricted = std::make_shared<Items>(m_session, m_folder);
    restricted->m_restriction = m_restriction ? m_restriction->andAlso(r) : r;
    restricted->m_sortProperty = m_sortProperty;
    restricted->m_sortDescending = m_sortDescending;
    restricted->m_includeRecurrences = m_includeRecurrences;
    restricted->m_fileNames = m_fileNames;
    return restricted;
}

ItemPtr Items::Find(const QString &filter)
{
    m_found = evaluate(Restriction::parse(filter, m_session->locale));
    m_foundNext = 1;
    return m_found.value(0);
}

ItemPtr Items::FindNext()
{
    return m_found.value(m_foundNext++);
}

void Items::Sort(const QString &property, bool descending)
{
    QString p = property.trimmed();
    if (p.startsWith('[') && p.endsWith(']'))
        p = p.mid(1, p.size() - 2);
    static const QStringList known = {"Start", "End", "Subject"};
    bool ok = false;
    for (const QString &k : known) {
        if (p.compare(k, Qt::CaseInsensitive) == 0) {
            p = k;
            ok = true;
        }
    }
    if (!ok)
        throw QvError(kNotAllowed, QStringLiteral("Cannot sort by \"%1\".").arg(property),
                      QStringLiteral("Items"));
    m_sortProperty = p;
    m_sortDescending = descending;
}

void Items::SetColumns(const QString &columns)
{
    static const QStringList known = {"Start",      "End",         "Subject",
                                      "Categories", "Location",    "AllDayEvent",
                                      "EntryID",    "IsRecurring", "MessageClass"};
    for (QString c : columns.split(m_session->listSeparator)) {
        c = c.trimmed();
        if (c.startsWith('[') && c.endsWith(']'))
            c = c.mid(1, c.size() - 2);
        if (!known.contains(c, Qt::CaseInsensitive))
            throw QvError(kNotAllowed, QStringLiteral("Unknown column \"%1\".").arg(c),
                          QStringLiteral("Items"));
    }
}

void Items::collect(const QString &fileName, const std::shared_ptr<const IcalItem> &item,
                    const std::optional<Restriction> &filter, double endMin, double startMax,
                    QList<Element> &elements)
{
    const QString entryId = m_folder->entryIdOf(fileName, item->uid());
    if (m_includeRecurrences) {
        IcalItem::Notes notes;
        const QList<IcalItem::Occurrence> occurrences = item->occurrences(endMin, startMax, &notes);
        const QString file = m_folder->path + QLatin1Char('/') + fileName;
        if (!notes.leftOut.isEmpty()) {
            const QString line = file + QStringLiteral(": left out, ") + notes.leftOut;
            m_session->warn(line);
            // One line a file: a file already named for what could not be read gets the reason.
            const QString head = file + QStringLiteral(": ");
            const auto named = std::find_if(m_leftOut.begin(), m_leftOut.end(),
                                            [&](const QString &l) { return l.startsWith(head); });
            if (named != m_leftOut.end()) {
                *named += QStringLiteral("; left out, ") + notes.leftOut;
                m_leftOutFiles.insert(fileName, *named);
            } else {
                m_leftOut.append(line);
                m_leftOutFiles.insert(fileName, line);
            }
        }
        for (const QString &bent : std::as_const(notes.bent))
            m_session->warn(file + QStringLiteral(": ") + bent);
        for (const IcalItem::Occurrence &o : occurrences) {
            const RestrictionValues v =
                valuesOf(*item, o.source, o.start, o.end, o.allDay, entryId);
            if (!filter || filter->matches(v))
                elements.append(
                    {m_session->makeItem(m_folder, fileName, item, &o), o.start, o.end, v.subject});
        }
        return;
    }
    const IcalItem::Times t = item->times();
    if (!t.valid)
        return; // no start, or an end past the dates there are
    const RestrictionValues v = valuesOf(*item, item->master(), t.start, t.end, t.allDay, entryId);
    if (!filter || filter->matches(v))
        elements.append({m_session->makeItem(m_folder, fileName, item), t.start, t.end, v.subject});
}

QList<ItemPtr> Items::evaluate(const std::optional<Restriction> &extra)
{
    std::optional<Restriction> filter = m_restriction;
    if (extra)
        filter = filter ? filter->andAlso(*extra) : *extra;
    const double startMax = filter ? filter->startMax() : OADate::kMax;
    const double endMin = filter ? filter->endMin() : OADate::kMin;

    m_leftOut.clear();
    QStringList names;
    if (filter && filter->restrictsSubject()) {
        // Only the files whose index says they may match are read.
        const QHash<QString, FileFacts> candidates =
            m_folder->subjectFacts(filter->requiredSubjects().constFirst(), m_session->warnings);
        for (const auto &[name, facts] : candidates.asKeyValueRange()) {
            if (std::any_of(facts.items.begin(), facts.items.end(), [&](const ItemFacts &i) {
                    return !i.hidden && filter->maySubjectMatch(i.subjects);
                }))
                names.append(name);
        }
        for (const QString &name : std::as_const(names))
            m_folder->entry(name, m_session->warnings);
    } else if (m_fileNames) {
        std::optional<QStringList> there =
            m_folder->refresh(*m_fileNames, m_session->warnings, m_progress);
        if (!there)
            return {};
        names = std::move(*there);
    } else {
        if (!m_folder->refresh(m_session->warnings, m_progress))
            return {};
        names = m_folder->entries().keys();
    }
    if (m_fileNames && !names.isEmpty()) {
        const QSet<QString> wanted(m_fileNames->begin(), m_fileNames->end());
        names.removeIf([&](const QString &name) { return !wanted.contains(name); });
    }
    names.sort(); // a stable order for equal sort keys
    m_leftOutFiles.clear();
    for (const QString &name : std::as_const(names)) {
        // Said once when read; counted at every enumeration.
        const FolderData::Entry &e = m_folder->entries()[name];
        if (!e.problem.isEmpty()) {
            m_leftOut.append(m_folder->problemLine(name, e));
            m_leftOutFiles.insert(name, m_leftOut.constLast());
        }
    }

    QList<Element> elements;
    for (const QString &name : std::as_const(names)) {
        if (m_progress && !m_progress())
            break;
        // Looked up afresh after the progress call, which may have let the folder change.
        const std::vector<std::shared_ptr<const IcalItem>> items = m_folder->entries()[name].items;
        for (const std::shared_ptr<const IcalItem> &item : items) {
            if (!item->isHidden())
                collect(name, item, filter, endMin, startMax, elements);
        }
    }
    m_leftOut.sort();
    if (!m_sortProperty.isEmpty()) {
        const bool down = m_sortDescending;
        const auto byTime = [down](double a, double b) { return down ? b < a : a < b; };
        if (m_sortProperty == QLatin1String("Start"))
            std::stable_sort(
                elements.begin(), elements.end(),
                [&](const Element &a, const Element &b) { return byTime(a.start, b.start); });
        else if (m_sortProperty == QLatin1String("End"))
            std::stable_sort(
                elements.begin(), elements.end(),
                [&](const Element &a, const Element &b) { return byTime(a.end, b.end); });
        else
            std::stable_sort(elements.begin(), elements.end(),
                             [&](const Element &a, const Element &b) {
                                 const int c = a.subject.compare(b.subject, Qt::CaseInsensitive);
                                 return down ? c > 0 : c < 0;
                             });
    }
    QList<ItemPtr> out;
    out.reserve(elements.size());
    for (Element &e : elements)
        out.append(std::move(e.item));
    return out;
}

int Items::Count()
{
    return int(evaluate(std::nullopt).size());
}

ItemPtr Items::GetFirst()
{
    m_cursor = evaluate(std::nullopt);
    m_cursorNext = 1;
    return m_cursor.value(0);
}

ItemPtr Items::GetNext()
{
    return m_cursor.value(m_cursorNext++);
}

QHash<QString, FileStamp> Items::fileStamps() const
{
    return m_folder->stamps();
}

QList<ItemPtr> Items::all()
{
    return evaluate(std::nullopt);
}

AppointmentItemPtr Items::Add()
{
    return std::make_shared<AppointmentItem>(m_session, m_folder, QString(), nullptr);
}

void Items::onFolderChanged(const QStringList &added, const QStringList &changedFiles, int removed)
{
    const auto emitFor = [this](const QString &name, bool isNew) {
        const FolderData::Entry *e = m_folder->entry(name, m_session->warnings);
        if (!e)
            return;
        for (const std::shared_ptr<const IcalItem> &content : e->items) {
            if (content->isHidden())
                continue;
            const ItemPtr item = m_session->makeItem(m_folder, name, content);
            if (isNew)
                emit ItemAdd(item);
            else
                emit ItemChange(item);
        }
    };
    for (const QString &name : added)
        emitFor(name, true);
    for (const QString &name : changedFiles)
        emitFor(name, false);
    // An item that left a file of several UIDs leaves no trace to say which: it is heard as a
    // removal, which nobody can tie to an item either.
    if (m_folder->takeItemsWent() && !removed)
        removed = 1;
    for (int i = 0; i < removed; ++i)
        emit ItemRemove();
}

} // namespace Store
