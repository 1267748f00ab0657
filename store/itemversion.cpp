#include "itemversion.h"

#include "icalitem_p.h"

#include <libical/ical.h>

namespace Store {

ItemVersion::ItemVersion(std::unique_ptr<IcalItem> item) : m_item(std::move(item)) {}
ItemVersion::~ItemVersion() = default;
ItemVersion::ItemVersion(ItemVersion &&) noexcept = default;
ItemVersion &ItemVersion::operator=(ItemVersion &&) noexcept = default;

std::optional<ItemVersion> ItemVersion::read(const QByteArray &text)
{
    QString problem;
    std::unique_ptr<IcalItem> item = IcalItem::parse(text, &problem);
    if (!item)
        return std::nullopt;
    return ItemVersion(std::move(item));
}

QStringList ItemVersion::uidsIn(const QByteArray &text)
{
    QString problem;
    QStringList uids;
    for (const auto &item : IcalItem::parseFile(text, &problem))
        uids << item->uid();
    return uids;
}

QString ItemVersion::uid() const
{
    return m_item->uid();
}

bool ItemVersion::isHidden() const
{
    return m_item->isHidden();
}

QByteArray ItemVersion::changedAt() const
{
    for (const icalproperty_kind kind : {ICAL_LASTMODIFIED_PROPERTY, ICAL_DTSTAMP_PROPERTY}) {
        if (icalproperty *p = icalcomponent_get_first_property(m_item->master(), kind)) {
            const icaltimetype t = icalvalue_get_datetime(icalproperty_get_value(p));
            return icaltime_as_ical_string(
                icaltime_convert_to_zone(t, icaltimezone_get_utc_timezone()));
        }
    }
    return QByteArray();
}

bool ItemVersion::namedValue(const QString &set, const QString &name, QString &value,
                             int &type) const
{
    return m_item->namedValue(set, name, value, type);
}

void ItemVersion::setNamedValue(const QString &set, const QString &name, int type,
                                const QString &value)
{
    m_item->setNamedValue(set, name, type, value);
}

ItemVersion ItemVersion::copyAs(const QByteArray &uid, const QString &subjectSuffix) const
{
    std::unique_ptr<IcalItem> copy = m_item->clone();
    for (icalcomponent *e =
             icalcomponent_get_first_component(copy->calendar(), ICAL_VEVENT_COMPONENT);
         e; e = icalcomponent_get_next_component(copy->calendar(), ICAL_VEVENT_COMPONENT)) {
        icalcomponent_set_uid(e, uid.constData());
        const QString summary = QString::fromUtf8(icalcomponent_get_summary(e));
        icalcomponent_set_summary(e, (summary + subjectSuffix).toUtf8().constData());
    }
    return ItemVersion(std::move(copy));
}

QByteArray ItemVersion::text() const
{
    return m_item->serialize();
}

} // namespace Store
