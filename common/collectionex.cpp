#include "collectionex.h"

#include "qverror.h"

namespace {

// The inner collection's own errors.
constexpr int kInvalidArgument = 5;
constexpr int kSubscriptOutOfRange = 9;
constexpr int kTypeMismatch = 13;
constexpr int kObjectRequired = 424;
constexpr int kKeyInUse = 457;

QvError innerError(int number)
{
    switch (number) {
    case kSubscriptOutOfRange:
        return QvError(number, QStringLiteral("Subscript out of range"));
    case kTypeMismatch:
        return QvError(number, QStringLiteral("Type mismatch"));
    case kObjectRequired:
        return QvError(number, QStringLiteral("Object required"));
    case kKeyInUse:
        return QvError(number, QStringLiteral("This key is already associated with an element "
                                              "of this collection"));
    default:
        return QvError(number, QStringLiteral("Invalid procedure call or argument"));
    }
}

// The inner error again, from the collection's own members.
[[noreturn]] void raise(const QvError &e)
{
    throw QvError(e.number(), e.description(), QString::fromLatin1(CCollectionEx::kSource));
}

bool isText(const QVariant &v)
{
    return v.typeId() == QMetaType::QString;
}

} // namespace

CCollectionEx::~CCollectionEx()
{
    Clear();
}

qsizetype CCollectionEx::positionOf(const QVariant &index) const
{
    if (isText(index)) {
        const QString key = index.toString();
        for (qsizetype i = 0; i < m_items.size(); ++i) {
            if (!m_items[i].key.isEmpty() && m_items[i].key.compare(key, Qt::CaseInsensitive) == 0)
                return i;
        }
        throw innerError(kInvalidArgument);
    }
    bool ok = false;
    const qlonglong position = index.toLongLong(&ok);
    if (!ok)
        throw innerError(kTypeMismatch);
    if (position < 1 || position > m_items.size())
        throw innerError(kSubscriptOutOfRange);
    return qsizetype(position - 1);
}

void CCollectionEx::insert(const QVariant &value, const QString &key, const QVariant &before,
                           const QVariant &after)
{
    if (!key.isEmpty()) {
        for (const Element &e : std::as_const(m_items)) {
            if (e.key.compare(key, Qt::CaseInsensitive) == 0)
                throw innerError(kKeyInUse);
        }
    }
    const QVariant &at = after.isValid() ? after : before;
    const qsizetype position = at.isValid() ? positionOf(at) : m_items.size();
    m_items.insert(position, Element{value, key});
}

void CCollectionEx::AddVariant(const QVariant &value, const QString &key, const QVariant &before,
                               const QVariant &after)
{
    insert(value, key, before, after);
}

void CCollectionEx::Add(QObject *object, const QString &key, const QVariant &before,
                        const QVariant &after)
{
    insert(QVariant::fromValue(object), key, before, after);
}

void CCollectionEx::Remove(const QVariant &index)
{
    try {
        m_items.removeAt(positionOf(index));
    } catch (const QvError &e) {
        raise(e);
    }
}

QString CCollectionEx::ItemAsString(const QVariant &index) const
{
    try {
        const QVariant &v = m_items[positionOf(index)].value;
        if (v.canConvert<QObject *>() && !v.canConvert<QString>())
            throw innerError(kTypeMismatch);
        return v.toString();
    } catch (const QvError &e) {
        raise(e);
    }
}

QObject *CCollectionEx::Item(const QVariant &index) const
{
    try {
        const QVariant &v = m_items[positionOf(index)].value;
        if (!v.canConvert<QObject *>())
            throw innerError(kObjectRequired);
        return v.value<QObject *>();
    } catch (const QvError &e) {
        raise(e);
    }
}

void CCollectionEx::Clear()
{
    while (!m_items.isEmpty())
        m_items.removeLast();
}
