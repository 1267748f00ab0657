#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include <optional>

// An ordered list of values with optional text keys, whose failures carry the source
// "CCollectionEx". Positions are 1-based; keys name at most one element and compare without
// regard to letter case. A position argument is a number (a position) or a text (a key).
class CCollectionEx
{
public:
    static constexpr const char *kSource = "CCollectionEx";

    CCollectionEx() = default;
    ~CCollectionEx();

    // Appends value; with before (or after, which takes precedence) inserts it in front of the
    // element that argument names. Both name the element to insert in front of. Raises QvError
    // for a key in use or a missing element to insert at.
    void AddVariant(const QVariant &value, const QString &key = QString(),
                    const QVariant &before = QVariant(), const QVariant &after = QVariant());
    void Add(QObject *object, const QString &key = QString(), const QVariant &before = QVariant(),
             const QVariant &after = QVariant());

    // Each raises QvError (source "CCollectionEx") for a missing element.
    void Remove(const QVariant &index);
    QString ItemAsString(const QVariant &index) const;
    QObject *Item(const QVariant &index) const;

    void Clear();
    qint32 Count() const { return qint32(m_items.size()); }

    // In order, for range-for: the values.
    class Enumerator
    {
    public:
        explicit Enumerator(const CCollectionEx &c) : m_c(c) {}
        auto begin() const { return m_c.m_items.cbegin(); }
        auto end() const { return m_c.m_items.cend(); }

    private:
        const CCollectionEx &m_c;
    };
    Enumerator NewEnum() const { return Enumerator(*this); }

    struct Element
    {
        QVariant value;
        QString key;
    };

private:
    // 0-based position of the element index names, raising the inner collection's error.
    qsizetype positionOf(const QVariant &index) const;
    void insert(const QVariant &value, const QString &key, const QVariant &before,
                const QVariant &after);

    QList<Element> m_items;
};
