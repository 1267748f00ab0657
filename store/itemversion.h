#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class IcalItem;

namespace Store {

// One version of a calendar item as a program wrote it (an item file's text), read and changed
// without a folder: what settling two versions of one item needs.
class ItemVersion
{
public:
    ~ItemVersion();
    ItemVersion(ItemVersion &&) noexcept;
    ItemVersion &operator=(ItemVersion &&) noexcept;

    // Nothing when the text holds no event.
    static std::optional<ItemVersion> read(const QByteArray &text);
    // The UIDs of the items of an item file's text (of its events, each once).
    static QStringList uidsIn(const QByteArray &text);

    QString uid() const;
    // A hidden item of the folder (the category table) rather than an appointment.
    bool isHidden() const;
    // When the version was last changed (LAST-MODIFIED, else DTSTAMP), as UTC text that sorts
    // by time; empty when it does not say.
    QByteArray changedAt() const;
    bool namedValue(const QString &set, const QString &name, QString &value, int &type) const;
    void setNamedValue(const QString &set, const QString &name, int type, const QString &value);
    // A copy as an item of its own: another UID, and every event's subject followed by suffix.
    ItemVersion copyAs(const QByteArray &uid, const QString &subjectSuffix) const;
    QByteArray text() const;

private:
    explicit ItemVersion(std::unique_ptr<IcalItem> item);
    std::unique_ptr<IcalItem> m_item;
};

} // namespace Store
