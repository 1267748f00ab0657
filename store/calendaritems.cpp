// Items, appointments, meeting requests and the helper components of the calendar store.

#include "calendarstore_p.h"

#include "oadate.h"
#include "qverror.h"

#include <QDateTime>
#include <QMetaMethod>

#include <algorithm>
#include <limits>

namespace Store {
namespace {

constexpr const char *kMessageClass = "X-QUORVEL-MESSAGE-CLASS";

QString messageClassOf(const IcalItem &item)
{
    const QString own = item.xText(kMessageClass);
    if (!own.isEmpty())
        return own;
    return item.isMeeting() ? QStringLiteral("IPM.Schedule.Meeting.Request")
                            : QStringLiteral("IPM.Appointment");
}

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
    v.messageClass = messageClassOf(item);
    v.entryId = entryId;
    v.recurring = item.isRecurring();
    return v;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Items

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
    static const QStringList known = {"Start", "End", "Subject", "Categories", "Location",
                                      "AllDayEvent", "EntryID", "IsRecurring", "MessageClass"};
    for (QString c : columns.split(m_session->listSeparator)) {
        c = c.trimmed();
        if (c.startsWith('[') && c.endsWith(']'))
            c = c.mid(1, c.size() - 2);
        if (!known.contains(c, Qt::CaseInsensitive))
            throw QvError(kNotAllowed, QStringLiteral("Unknown column \"%1\".").arg(c),
                          QStringLiteral("Items"));
    }
}

QList<ItemPtr> Items::evaluate(const std::optional<Restriction> &extra)
{
    std::optional<Restriction> filter = m_restriction;
    if (extra)
        filter = filter ? filter->andAlso(*extra) : *extra;
    const double startMax = filter ? filter->startMax() : OADate::kMax;
    const double endMin = filter ? filter->endMin() : OADate::kMin;

    if (!m_folder->refresh(m_session->warnings, m_progress))
        return {};
    QStringList names = m_folder->entries().keys();
    names.sort(); // a stable order for equal sort keys

    struct Element
    {
        ItemPtr item;
        double start, end;
        QString subject;
    };
    QList<Element> elements;
    for (const QString &name : std::as_const(names)) {
        if (m_progress && !m_progress())
            break;
        // Looked up afresh after the progress call, which may have let the folder change.
        const FolderData::Entry &e = m_folder->entries()[name];
        if (!e.item || e.item->isHidden())
            continue;
        const QString entryId = m_folder->entryIdOf(name);
        if (m_includeRecurrences) {
            for (const IcalItem::Occurrence &o : e.item->occurrences(endMin, startMax)) {
                const RestrictionValues v =
                    valuesOf(*e.item, o.source, o.start, o.end, o.allDay, entryId);
                if (!filter || filter->matches(v))
                    elements.append({m_session->makeItem(m_folder, name, e.item, &o), o.start,
                                     o.end, v.subject});
            }
        } else {
            const IcalItem::Times t = e.item->times();
            const RestrictionValues v =
                valuesOf(*e.item, e.item->master(), t.start, t.end, t.allDay, entryId);
            if (!filter || filter->matches(v))
                elements.append({m_session->makeItem(m_folder, name, e.item), t.start, t.end,
                                 v.subject});
        }
    }
    if (!m_sortProperty.isEmpty()) {
        const bool down = m_sortDescending;
        const auto byTime = [down](double a, double b) { return down ? b < a : a < b; };
        if (m_sortProperty == QLatin1String("Start"))
            std::stable_sort(elements.begin(), elements.end(),
                             [&](const Element &a, const Element &b) { return byTime(a.start, b.start); });
        else if (m_sortProperty == QLatin1String("End"))
            std::stable_sort(elements.begin(), elements.end(),
                             [&](const Element &a, const Element &b) { return byTime(a.end, b.end); });
        else
            std::stable_sort(elements.begin(), elements.end(), [&](const Element &a, const Element &b) {
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

QList<ItemPtr> Items::all()
{
    return evaluate(std::nullopt);
}

AppointmentItemPtr Items::Add()
{
    return std::make_shared<AppointmentItem>(m_session, m_folder, QString(), nullptr);
}

void Items::onFolderChanged(const QStringList &added, const QStringList &changedFiles,
                            int removed)
{
    const auto emitFor = [this](const QString &name, bool isNew) {
        const FolderData::Entry *e = m_folder->entry(name, m_session->warnings);
        if (!e || !e->item || e->item->isHidden())
            return;
        const ItemPtr item = m_session->makeItem(m_folder, name, e->item);
        if (isNew)
            emit ItemAdd(item);
        else
            emit ItemChange(item);
    };
    for (const QString &name : added)
        emitFor(name, true);
    for (const QString &name : changedFiles)
        emitFor(name, false);
    for (int i = 0; i < removed; ++i)
        emit ItemRemove();
}

// ---------------------------------------------------------------------------------------------
// Item, AppointmentItem, MeetingItem

Item::Item(std::shared_ptr<SessionData> session, std::shared_ptr<FolderData> folder,
           QString fileName, std::shared_ptr<const IcalItem> content)
    : m_session(std::move(session)), m_folder(std::move(folder)), m_fileName(std::move(fileName)),
      m_content(std::move(content))
{
}

QString Item::EntryID() const
{
    return m_fileName.isEmpty() ? QString() : m_folder->entryIdOf(m_fileName);
}

QString Item::MessageClass() const
{
    return m_content ? messageClassOf(*m_content) : QStringLiteral("IPM.Appointment");
}

void Item::Delete()
{
    if (!m_fileName.isEmpty())
        m_folder->removeItem(m_fileName);
}

AppointmentItem::AppointmentItem(std::shared_ptr<SessionData> session,
                                 std::shared_ptr<FolderData> folder, QString fileName,
                                 std::shared_ptr<const IcalItem> content,
                                 const IcalItem::Occurrence *occurrence)
    : Item(std::move(session), std::move(folder), std::move(fileName), std::move(content))
{
    if (occurrence)
        m_occurrence = *occurrence;
    if (!m_content) {
        // A new appointment: the next whole hour, for half an hour.
        m_working = IcalItem::create();
        const QDateTime now = QDateTime::currentDateTime();
        const QDateTime start(now.date(), QTime(now.time().hour(), 0));
        m_start = OADate::fromDateTime(start.addSecs(3600));
        m_end = *m_start + 1.0 / 48;
        m_allDay = false;
    }
}

const IcalItem &AppointmentItem::readable() const
{
    return m_working ? *m_working : *m_content;
}

IcalItem &AppointmentItem::writable()
{
    if (m_occurrence)
        throw QvError(kNotAllowed,
                      QStringLiteral("One occurrence cannot be changed here; open the series."),
                      QStringLiteral("AppointmentItem"));
    if (!m_working)
        m_working = m_content->clone();
    return *m_working;
}

icalcomponent *AppointmentItem::event() const
{
    if (m_occurrence && m_occurrence->isException && !m_working)
        return m_occurrence->source;
    return readable().master();
}

QString AppointmentItem::Subject() const
{
    return IcalItem::textOf(event(), "SUMMARY");
}

void AppointmentItem::setSubject(const QString &subject)
{
    writable().setText("SUMMARY", subject);
}

QString AppointmentItem::Categories() const
{
    return IcalItem::categoriesOf(event()).join(m_session->listSeparator + QLatin1Char(' '));
}

void AppointmentItem::setCategories(const QString &categories)
{
    QStringList names;
    for (const QString &n : categories.split(m_session->listSeparator))
        names.append(n.trimmed());
    writable().setCategories(names);
}

double AppointmentItem::Start() const
{
    if (m_start)
        return *m_start;
    return m_occurrence ? m_occurrence->start : readable().times().start;
}

void AppointmentItem::setStart(double start)
{
    writable();
    // As in the client: moving the start keeps the length.
    const double length = End() - Start();
    m_start = start;
    m_end = start + std::max(0.0, length);
}

double AppointmentItem::End() const
{
    if (m_end)
        return *m_end;
    return m_occurrence ? m_occurrence->end : readable().times().end;
}

void AppointmentItem::setEnd(double end)
{
    writable();
    m_end = end;
}

bool AppointmentItem::AllDayEvent() const
{
    if (m_allDay)
        return *m_allDay;
    return m_occurrence ? m_occurrence->allDay : readable().times().allDay;
}

void AppointmentItem::setAllDayEvent(bool allDay)
{
    writable();
    m_allDay = allDay;
    if (allDay) {
        // Whole days: from the start's midnight to the midnight after the end's day.
        const double start = OADate::DateOnly(Start());
        double end = OADate::DateOnly(End());
        if (end < End() || end <= start)
            end += 1;
        m_start = start;
        m_end = end;
    }
}

bool AppointmentItem::IsRecurring() const
{
    return readable().isRecurring();
}

int AppointmentItem::RecurrenceState() const
{
    if (!readable().isRecurring())
        return olApptNotRecurring;
    if (!m_occurrence)
        return olApptMaster;
    return m_occurrence->isException ? olApptException : olApptOccurrence;
}

QString AppointmentItem::Location() const
{
    return IcalItem::textOf(event(), "LOCATION");
}

void AppointmentItem::setLocation(const QString &location)
{
    writable().setText("LOCATION", location);
}

QString AppointmentItem::Body() const
{
    return IcalItem::textOf(event(), "DESCRIPTION");
}

void AppointmentItem::setBody(const QString &body)
{
    writable().setText("DESCRIPTION", body);
}

bool AppointmentItem::ReminderSet() const
{
    return readable().reminderSet();
}

void AppointmentItem::setReminderSet(bool on)
{
    writable().setReminderSet(on);
}

QString AppointmentItem::StartTimeZone() const
{
    return readable().startZone();
}

QString AppointmentItem::EndTimeZone() const
{
    return readable().endZone();
}

QString AppointmentItem::MessageClassOf() const
{
    return messageClassOf(readable());
}

void AppointmentItem::Save()
{
    IcalItem &item = writable();
    if (m_start || m_end || m_allDay)
        item.setTimes(Start(), End(), AllDayEvent());
    if (m_fileName.isEmpty())
        m_fileName = m_folder->newFileName(item);
    m_folder->writeItem(m_fileName, item);
    m_content = std::shared_ptr<const IcalItem>(std::move(m_working));
    m_start.reset();
    m_end.reset();
    m_allDay.reset();
}

void AppointmentItem::Delete()
{
    if (m_fileName.isEmpty())
        return;
    if (m_occurrence && m_content->isRecurring()) {
        std::unique_ptr<IcalItem> copy = m_content->clone();
        copy->excludeInstance(*m_occurrence);
        m_folder->writeItem(m_fileName, *copy);
        return;
    }
    Item::Delete();
}

void AppointmentItem::Display(bool)
{
    StoreUi *ui = CurrentStoreUi();
    if (!ui)
        throw QvError(kNoWindow, QStringLiteral("No window can be shown for the appointment"),
                      QStringLiteral("AppointmentItem"));
    ui->editAppointment(*this);
}

void AppointmentItem::ShowCategoriesDialog()
{
    StoreUi *ui = CurrentStoreUi();
    if (!ui)
        throw QvError(kNoWindow, QStringLiteral("No window can be shown for the categories"),
                      QStringLiteral("AppointmentItem"));
    NameSpace session(m_session->options);
    ui->editCategories(*this, session);
}

MeetingItem::MeetingItem(std::shared_ptr<SessionData> session, std::shared_ptr<FolderData> folder,
                         QString fileName, std::shared_ptr<const IcalItem> content,
                         const IcalItem::Occurrence *occurrence)
    : Item(std::move(session), std::move(folder), std::move(fileName), std::move(content))
{
    if (occurrence)
        m_occurrence = *occurrence;
}

QString MeetingItem::Subject() const
{
    return m_content->text("SUMMARY");
}

AppointmentItemPtr MeetingItem::GetAssociatedAppointment(bool)
{
    return std::make_shared<AppointmentItem>(m_session, m_folder, m_fileName, m_content,
                                             m_occurrence ? &*m_occurrence : nullptr);
}

AppointmentItemPtr AppointmentOf(const ItemPtr &item)
{
    if (!item)
        return nullptr;
    if (item->TypeName() == QLatin1String("AppointmentItem"))
        return std::dynamic_pointer_cast<AppointmentItem>(item);
    if (item->TypeName() == QLatin1String("MeetingItem"))
        return std::dynamic_pointer_cast<MeetingItem>(item)->GetAssociatedAppointment(false);
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Helper components

QString CurrentUser::Name() const
{
    return m_session->CurrentUserName();
}

QString AppointmentBody::Body() const
{
    if (!m_item)
        throw QvError(91, QStringLiteral("Object variable or With block variable not set"),
                      QStringLiteral("tkAppointmentItem"));
    return m_item->Body();
}

HiddenItemsPtr MapiFolder::hiddenItems() const
{
    if (!m_folder)
        return nullptr;
    return std::make_shared<HiddenItems>(m_session, m_folder->data());
}

HiddenItems::HiddenItems(std::shared_ptr<SessionData> session, std::shared_ptr<FolderData> folder)
    : m_session(std::move(session)), m_folder(std::move(folder))
{
}

HiddenItemPtr HiddenItems::item(const QString &subject) const
{
    m_folder->refresh(m_session->warnings);
    QStringList names = m_folder->entries().keys();
    names.sort();
    for (const QString &name : names) {
        const FolderData::Entry &e = m_folder->entries()[name];
        if (e.item && e.item->isHidden() && e.item->text("SUMMARY") == subject)
            return std::make_shared<HiddenItem>(m_folder, name, e.item->clone());
    }
    return nullptr;
}

int HiddenItems::Count() const
{
    m_folder->refresh(m_session->warnings);
    int n = 0;
    for (const FolderData::Entry &e : m_folder->entries())
        n += e.item && e.item->isHidden();
    return n;
}

HiddenItemPtr HiddenItems::Add(const QString &messageClass)
{
    std::unique_ptr<IcalItem> content = IcalItem::create();
    content->setHidden(true);
    content->setXText(kMessageClass, messageClass);
    // Dated where the client keeps such items, in the past and out of the way of other
    // programs' views; private and taking no time.
    const double when = OADate::fromDateTime(QDate(2011, 1, 1), QTime(1, 30));
    content->setTimes(when, when, false);
    content->setText("CLASS", QStringLiteral("PRIVATE"));
    content->setText("TRANSP", QStringLiteral("TRANSPARENT"));
    return std::make_shared<HiddenItem>(m_folder, QString(), std::move(content));
}

HiddenItem::HiddenItem(std::shared_ptr<FolderData> folder, QString fileName,
                       std::unique_ptr<IcalItem> content)
    : m_folder(std::move(folder)), m_fileName(std::move(fileName)), m_content(std::move(content))
{
}

QString HiddenItem::Subject() const
{
    return m_content->text("SUMMARY");
}

void HiddenItem::setSubject(const QString &subject)
{
    m_content->setText("SUMMARY", subject);
}

QString HiddenItem::MessageClass() const
{
    return messageClassOf(*m_content);
}

qint32 HiddenItem::GetIDsFromNames(const QString &propertySet, const QString &name)
{
    const std::pair<QString, QString> key{propertySet.toUpper(), name};
    qsizetype index = m_names.indexOf(key);
    if (index < 0) {
        index = m_names.size();
        m_names.append(key);
    }
    return qint32(quint32(0x8000 + index) << 16);
}

std::pair<QString, QString> HiddenItem::nameOf(const QString &tag, int *type) const
{
    // Tags of named properties have the top bit set: callers holding them in a signed 32-bit
    // number write them negative.
    bool ok = false;
    const qlonglong n = tag.toLongLong(&ok);
    ok = ok && n >= std::numeric_limits<qint32>::min() && n <= std::numeric_limits<quint32>::max();
    const quint32 t = quint32(n);
    const qsizetype index = qsizetype(t >> 16) - 0x8000;
    if (!ok || index < 0 || index >= m_names.size())
        throw QvError(kNotFound, QStringLiteral("The property \"%1\" is unknown.").arg(tag),
                      QStringLiteral("HiddenItem"));
    *type = int(t & 0xFFFF);
    return m_names[index];
}

QVariant HiddenItem::Fields(const QString &tag) const
{
    int type = 0;
    const auto [set, name] = nameOf(tag, &type);
    QString value;
    int storedType = 0;
    if (!m_content->namedValue(set, name, value, storedType))
        throw QvError(kNotFound, QStringLiteral("The property \"%1\" is not on the item.").arg(name),
                      QStringLiteral("HiddenItem"));
    if (type == 3) {
        bool ok = false;
        const qint32 n = value.toInt(&ok);
        if (!ok)
            throw QvError(13, QStringLiteral("Type mismatch"), QStringLiteral("HiddenItem"));
        return n;
    }
    return value;
}

void HiddenItem::setFields(const QString &tag, const QVariant &value)
{
    int type = 0;
    const auto [set, name] = nameOf(tag, &type);
    m_content->setNamedValue(set, name, type,
                             type == 3 ? QString::number(value.toInt()) : value.toString());
}

void HiddenItem::Save()
{
    if (m_fileName.isEmpty())
        m_fileName = m_folder->newFileName(*m_content);
    m_folder->writeItem(m_fileName, *m_content);
}

} // namespace Store
