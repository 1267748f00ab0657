#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

// The host's store of a control's properties: read a named value with a default, write one
// (with its default, so hosts may leave defaults out).
class PropertyBag
{
public:
    virtual ~PropertyBag() = default;
    virtual QVariant ReadProperty(const QString &name, const QVariant &defaultValue) const = 0;
    virtual void WriteProperty(const QString &name, const QVariant &value,
                               const QVariant &defaultValue) = 0;
};

// A bag over a map of texts and values, as a page's <param> elements or a command line give
// them. Texts "True" and "False" read as booleans where a boolean is asked for.
class MapPropertyBag : public PropertyBag
{
public:
    MapPropertyBag() = default;
    explicit MapPropertyBag(QVariantMap values) : m_values(std::move(values)) {}

    QVariant ReadProperty(const QString &name, const QVariant &defaultValue) const override;
    void WriteProperty(const QString &name, const QVariant &value,
                       const QVariant &defaultValue) override;
    const QVariantMap &values() const { return m_values; }

private:
    QVariantMap m_values;
};
