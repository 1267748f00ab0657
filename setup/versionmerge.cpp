#include "versionmerge.h"

#include "categorystore.h"
#include "itemversion.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QList>
#include <QSet>

#include <algorithm>

using Store::ItemVersion;

namespace {

const QString kCount = QStringLiteral("NumberOfCategories");
constexpr int kLong = 3;
constexpr int kString8 = 30;

struct Table
{
    QStringList names;
    QStringList colours;
};

std::optional<Table> TableOf(const ItemVersion &item)
{
    QString value;
    int type = 0;
    if (!item.isHidden() || !item.namedValue(CategoryStore::kPropertySet, kCount, value, type))
        return std::nullopt;
    Table t;
    const int count = value.toInt();
    for (int i = 1; i <= std::min(count, CategoryStore::kMaxStoredCategories); ++i) {
        QString name, colour;
        item.namedValue(CategoryStore::kPropertySet, QStringLiteral("Category%1").arg(i), name,
                        type);
        item.namedValue(CategoryStore::kPropertySet, QStringLiteral("Colour%1").arg(i), colour,
                        type);
        t.names << name;
        t.colours << colour;
    }
    return t;
}

void WriteTable(ItemVersion &item, const Table &t)
{
    item.setNamedValue(CategoryStore::kPropertySet, kCount, kLong, QString::number(t.names.size()));
    for (qsizetype i = 0; i < t.names.size(); ++i) {
        item.setNamedValue(CategoryStore::kPropertySet, QStringLiteral("Category%1").arg(i + 1),
                           kString8, t.names[i]);
        item.setNamedValue(CategoryStore::kPropertySet, QStringLiteral("Colour%1").arg(i + 1),
                           kLong, t.colours[i]);
    }
}

} // namespace

std::optional<MergedVersions> MergeVersions(const QByteArray &a, const QByteArray &b)
{
    std::optional<ItemVersion> one = ItemVersion::read(a);
    std::optional<ItemVersion> two = ItemVersion::read(b);
    if (!one || !two)
        return std::nullopt;
    // The later change leads; on a tie the first version does, so both sides agree.
    const bool twoLater = two->changedAt() > one->changedAt();
    ItemVersion &later = twoLater ? *two : *one;
    const ItemVersion &earlier = twoLater ? *one : *two;
    const std::optional<Table> lead = TableOf(later), other = TableOf(earlier);
    if (lead && other) {
        // Each category as its last change left it; one the earlier version alone has stays.
        Table merged = *lead;
        QSet<QString> names(merged.names.cbegin(), merged.names.cend());
        int leftOut = 0;
        for (qsizetype i = 0; i < other->names.size(); ++i) {
            if (names.contains(other->names[i]))
                continue;
            // A table the planner refuses would be replaced by its default at the next save.
            if (merged.names.size() >= CategoryStore::kMaxStoredCategories) {
                ++leftOut;
                continue;
            }
            names.insert(other->names[i]);
            merged.names << other->names[i];
            merged.colours << other->colours[i];
        }
        WriteTable(later, merged);
        MergedVersions out{later.text(), QByteArray(), later.uid(), QString(), QString()};
        if (leftOut)
            out.warning = QStringLiteral("%1 categories of the earlier version are left out: a "
                                         "table holds %2 at most")
                              .arg(leftOut)
                              .arg(CategoryStore::kMaxStoredCategories);
        return out;
    }

    // The earlier version survives as a copy: same event, its own UID, a subject that says so.
    const QByteArray uid =
        "conflict-" +
        QCryptographicHash::hash(earlier.text(), QCryptographicHash::Sha1).toHex().left(24);
    const ItemVersion copy = earlier.copyAs(uid, QStringLiteral(" (conflicting copy)"));
    return MergedVersions{later.text(), copy.text(), later.uid(), QString::fromLatin1(uid),
                          QString()};
}

QString CollectionHolding(const QString &collections, const QString &uid)
{
    if (uid.isEmpty())
        return QString();
    const QDir root(collections);
    for (const QString &sub : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QDir collection(root.filePath(sub));
        for (const QString &name : collection.entryList({QStringLiteral("*.ics")}, QDir::Files)) {
            QFile item(collection.filePath(name));
            // A cheap look at the text first; the parsed UIDs decide.
            if (!item.open(QIODevice::ReadOnly) || item.size() > 16 * 1024 * 1024)
                continue;
            const QByteArray text = item.readAll();
            if (!text.contains(uid.toUtf8()))
                continue;
            if (ItemVersion::uidsIn(text).contains(uid))
                return collection.path();
        }
    }
    return QString();
}
