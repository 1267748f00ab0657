#include "propertybag.h"

QVariant MapPropertyBag::ReadProperty(const QString &name, const QVariant &defaultValue) const
{
    // Parameter names are matched without regard to case, as page parameters are.
    for (auto it = m_values.cbegin(); it != m_values.cend(); ++it) {
        if (it.key().compare(name, Qt::CaseInsensitive) != 0)
            continue;
        const QVariant &v = it.value();
        if (defaultValue.typeId() == QMetaType::Bool && v.typeId() == QMetaType::QString)
            return v.toString().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ||
                   v.toString() == QLatin1String("1") || v.toString() == QLatin1String("-1");
        if (defaultValue.typeId() == QMetaType::Int || defaultValue.typeId() == QMetaType::Short) {
            bool ok = false;
            const int n = v.toInt(&ok);
            return ok ? QVariant(n) : defaultValue;
        }
        return v;
    }
    return defaultValue;
}

void MapPropertyBag::WriteProperty(const QString &name, const QVariant &value, const QVariant &)
{
    m_values.insert(name, value);
}
