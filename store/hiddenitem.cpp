#include "hiddenitem.h"

#include "calendarstore.h"
#include "qverror.h"
#include "sessiondata_p.h"

#include <limits>

namespace Store {

HiddenItem::HiddenItem(std::shared_ptr<FolderData> folder, QString fileName,
                       std::unique_ptr<IcalItem> content)
    : m_folder(std::move(folder)), m_fileName(std::move(fileName)), m_content(std::move(content))
{
}

HiddenItem::~HiddenItem() = default;

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
    return ItemMessageClass(*m_content);
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
        throw QvError(kNotFound,
                      QStringLiteral("The property \"%1\" is not on the item.").arg(name),
                      QStringLiteral("HiddenItem"));
    if (type == 3) {
        bool ok = false;
        const qint32 n = value.toInt(&ok);
        if (!ok)
            throw QvError(ErrorCode::TypeMismatch, QStringLiteral("HiddenItem"));
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
        m_fileName = m_folder->newFileName(m_content->uid());
    m_content->stamp(false);
    m_fileName = m_folder->writeItem(m_fileName, *m_content);
}

} // namespace Store
