#pragma once

// Calendar text before the calendar library sees it: the bounds a file must keep, and the split
// of a calendar stream into the text of one item per UID, both by a walk over the content lines
// that never builds the whole calendar in memory. For the store's iCalendar layer only.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace IcalText {

// An item file's text at the most, and what one content line and one calendar may hold. Texts
// beyond them are refused before parsing: the calendar library's time and memory grow far
// faster than such texts.
constexpr qsizetype kMaxItemBytes = 1 << 20;
constexpr int kMaxDepth = 16;
constexpr int kMaxParameters = 100;
constexpr qsizetype kMaxPropertyHead = 16 * 1024; // a property's name and parameters
// The calendar library copies the rest of a line for each comma-separated value in it: the
// commas of a line times its length, at the most (an EXDATE of a thousand dates is 16 MB).
constexpr qint64 kMaxValueWork = qint64(24) << 20;

// Why text may not be parsed, or an empty text.
QString CheckText(QByteArrayView text);

// The calendar text of each item of a calendar stream, one per UID, in the order the UIDs first
// appear: the calendar's properties, the time zones its events name and its events. Events
// without a UID get an empty uid here. problems collects what was left out and why; false when
// the text as a whole is refused (not a calendar, nested too deep, a line out of bounds).
struct ItemText
{
    QByteArray uid;
    QByteArray text;
    QList<std::pair<qsizetype, qsizetype>> ranges; // of the item's events in the stream
};
bool SplitText(QByteArrayView text, const std::function<void(ItemText &&)> &take,
               QStringList *problems);

// The UID an item of a stream is known by: its own, or for events without one a UID made from
// their text, the same for the same text.
QByteArray UidOf(const ItemText &item);
// The stream without the events of the item known by uid, every other line as it was; nothing
// when the stream holds no such item or cannot be read.
std::optional<QByteArray> WithoutItem(QByteArrayView text, const QByteArray &uid);

// The UIDs of every event of a calendar text, each once, in the order they first appear, found
// without parsing it.
QList<QByteArray> Uids(QByteArrayView text);
// The UID of every item of a stream as UidOf has it, events without one included; nothing when
// the stream cannot be read.
std::optional<QList<QByteArray>> ItemUids(QByteArrayView text);
// A TEXT value as it reads once its backslash escapes are undone ("team\,2026" is "team,2026").
QByteArray Unescaped(QByteArrayView value);

} // namespace IcalText
