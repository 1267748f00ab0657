// The folder's work where it is a calendar of a calendar service (see folderdata_p.h): its
// objects read and searched, its changes heard, the stamps kept for a revision of it.

#include "folderdata_p.h"

#include "filereplacement.h"
#include "qverror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Store {

void FolderData::takeObject(const QString &key, const CalendarSource::Object &object, Entry &e,
                            QStringList &warnings)
{
    if (e.stamp == object.stamp)
        return;
    e.stamp = object.stamp;
    QString problem;
    e.items = IcalItem::parseFile(object.text, &problem);
    e.problem = problem;
    m_sourceFacts.insert(key, factsOfRead(key, e, warnings));
}

void FolderData::refreshFromSource(QStringList &warnings)
{
    QHash<QString, CalendarSource::Object> objects;
    try {
        objects = m_source->objects();
    } catch (const QvError &error) {
        // What was read last stays.
        const QString line = name() + QStringLiteral(": ") + error.description();
        if (!warnings.contains(line)) {
            warnings.append(line);
            qWarning("%s", qPrintable(line));
        }
        return;
    }
    QHash<QString, Entry> fresh;
    fresh.reserve(objects.size());
    for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
        Entry e = m_entries.value(it.key());
        takeObject(it.key(), it.value(), e, warnings);
        fresh.insert(it.key(), std::move(e));
    }
    m_sourceFacts.removeIf([&](const auto &f) { return !objects.contains(f.key()); });
    m_entries = std::move(fresh);
}

void FolderData::onSourceChanged(const QStringList &added, const QStringList &changedKeys,
                                 const QStringList &removed)
{
    for (const QString &key : removed)
        forgetObject(key);
    emit changed(added, changedKeys, int(removed.size()));
}

namespace {

// The stamps of a calendar's objects as they were at a revision of the calendar, kept beside
// the folders' indexes: a rebuild that finds nothing changed reads no object.
QString StampsFileOf(const QString &folderPath)
{
    return FolderIndex::FileOf(folderPath) + QStringLiteral(".stamps");
}

constexpr const char *kStampsHeader = "quorvel-stamps 1 ";

std::optional<QHash<QString, FileStamp>> KeptStamps(const QString &file, const QString &revision)
{
    // A line an object: at most the objects of a folder the store can read.
    constexpr qint64 kLargest = 64 * 1024 * 1024;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray text = in.read(kLargest + 1);
    if (text.size() > kLargest)
        return std::nullopt;
    const QList<QByteArray> lines = text.split('\n');
    if (lines.value(0) != kStampsHeader + revision.toUtf8().toPercentEncoding())
        return std::nullopt;
    QHash<QString, FileStamp> stamps;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        const QList<QByteArray> f = lines[i].split(' ');
        bool ok[3] = {};
        FileStamp s;
        if (f.size() == 4) {
            s.size = f[1].toLongLong(&ok[0]);
            s.mtimeNs = f[2].toLongLong(&ok[1]);
            s.inode = f[3].toULongLong(&ok[2]);
        }
        if (!ok[0] || !ok[1] || !ok[2])
            return std::nullopt; // only ever a guide: one that does not read back is dropped
        stamps.insert(QString::fromUtf8(f[0]), s);
    }
    return stamps;
}

void KeepStamps(const QString &file, const QString &revision,
                const QHash<QString, FileStamp> &stamps)
{
    QByteArray text = kStampsHeader + revision.toUtf8().toPercentEncoding() + '\n';
    for (auto it = stamps.cbegin(); it != stamps.cend(); ++it)
        text += it.key().toUtf8() + ' ' + QByteArray::number(it->size) + ' ' +
                QByteArray::number(it->mtimeNs) + ' ' + QByteArray::number(it->inode) + '\n';
    QDir().mkpath(QFileInfo(file).absolutePath());
    // Another start writes it again.
    ReplaceFile(file, text, FileDurability::Quick, BinaryFile::Access::Private);
}

} // namespace

QHash<QString, FileStamp> FolderData::sourceStamps() const
{
    // Asked before the objects are read: a change meanwhile makes the next revision differ.
    const QString revision = m_source->revision();
    const QString kept = StampsFileOf(path);
    if (!revision.isEmpty()) {
        if (std::optional<QHash<QString, FileStamp>> stamps = KeptStamps(kept, revision))
            return *stamps;
    }
    QHash<QString, FileStamp> out;
    try {
        const QHash<QString, CalendarSource::Object> objects = m_source->objects();
        for (auto it = objects.cbegin(); it != objects.cend(); ++it)
            out.insert(it.key(), it->stamp);
    } catch (const QvError &) {
        return out; // nothing to compare: whoever asks reads the folder, which says why
    }
    if (!revision.isEmpty())
        KeepStamps(kept, revision, out);
    return out;
}

QHash<QString, FileFacts> FolderData::hiddenFacts(QStringList &warnings, const QString &subject)
{
    if (!m_source)
        return facts(warnings);
    // A day on either side, for the zone the day was written in.
    const QDateTime day(HiddenItemsDay(), QTime());
    return factsOfFound({day.addDays(-1), day.addDays(2), subject}, warnings);
}

QHash<QString, FileFacts> FolderData::subjectFacts(const QString &subject, QStringList &warnings)
{
    if (!m_source)
        return facts(warnings);
    return factsOfFound({{}, {}, subject}, warnings);
}

QHash<QString, FileFacts> FolderData::factsOfFound(const CalendarSource::Query &query,
                                                   QStringList &warnings)
{
    QHash<QString, CalendarSource::Object> objects;
    try {
        objects = m_source->objectsFound(query);
    } catch (const QvError &error) {
        warnings.append(name() + QStringLiteral(": ") + error.description());
        return {};
    }
    QHash<QString, FileFacts> out;
    for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
        Entry &e = m_entries[it.key()];
        takeObject(it.key(), it.value(), e, warnings);
        out.insert(it.key(), m_sourceFacts.value(it.key()));
    }
    return out;
}

QStringList FolderData::sourceKeys(NameOrder order) const
{
    QStringList keys;
    try {
        keys = m_source->objects().keys();
    } catch (const QvError &) {
        // Said where the folder is read; a listing has nothing to give.
    }
    if (order == NameOrder::Sorted)
        keys.sort();
    return keys;
}

const FolderData::Entry *FolderData::sourceEntry(const QString &key, QStringList &warnings)
{
    CalendarSource::Object object;
    try {
        object = m_source->object(key);
    } catch (const QvError &) {
        // As when the object is not there: the folder's next read says why.
    }
    if (object.text.isEmpty()) {
        forgetObject(key);
        return nullptr;
    }
    Entry &e = m_entries[key];
    takeObject(key, object, e, warnings);
    return &e;
}

void FolderData::writeToSource(const QString &key, const QByteArray &text, Write how)
{
    m_source->write(text);
    forgetObject(key);
    if (how == Write::One) {
        QStringList ignored;
        sourceEntry(key, ignored);
    }
}

void FolderData::forgetObject(const QString &key)
{
    m_entries.remove(key);
    m_sourceFacts.remove(key);
}

} // namespace Store
