#include "folderdata_p.h"

#include "binaryfile.h"
#include "calendarstore.h"
#include "directorywatcher_p.h"
#include "fileerror.h"
#include "filereplacement.h"
#include "icaltext_p.h"
#include "qverror.h"
#include "sessiondata_p.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Store {

FolderData::FolderData(std::shared_ptr<StoreData> s, QString rel)
    : store(std::move(s)), relPath(std::move(rel))
{
    path = relPath.isEmpty() ? store->root : store->root + QLatin1Char('/') + relPath;
    id = HashId("0000QF", store->id + QLatin1Char('\0') + relPath);
    m_index = std::make_unique<FolderIndex>(path);
    if (store->desktop && !relPath.isEmpty()) {
        m_source = store->desktop->open(store->desktopCalendar(relPath).uid);
        connect(m_source.get(), &CalendarSource::changed, this, &FolderData::onSourceChanged);
    }
    m_debounce.setSingleShot(true);
    connect(&m_debounce, &QTimer::timeout, this, &FolderData::scanForChanges);
}

QString FolderData::name() const
{
    if (relPath.isEmpty())
        return store->name;
    if (m_source)
        return store->desktopCalendar(relPath).name;
    return relPath.section(QLatin1Char('/'), -1);
}

QString FolderData::entryIdOf(const QString &fileName) const
{
    auto it = m_ids.constFind(fileName);
    if (it == m_ids.constEnd())
        it = m_ids.insert(fileName, HashId("0000QI", store->id + QLatin1Char('\0') + relPath +
                                                         QLatin1Char('/') + fileName));
    return *it;
}

namespace {

// The identifier of the item uid of a file of items (by UID, in the file's order).
QString ItemId(const QString &fileId, const QStringList &uids, const QString &uid)
{
    if (uids.size() < 2 || uids.front() == uid)
        return fileId;
    const QByteArray hash =
        QCryptographicHash::hash(uid.toUtf8(), QCryptographicHash::Sha1).toHex().toUpper();
    return fileId + QLatin1Char('-') + QString::fromLatin1(hash.left(16));
}

QStringList UidsOf(const FolderData::Entry &e)
{
    QStringList uids;
    for (const auto &item : e.items)
        uids.append(item->uid());
    return uids;
}

} // namespace

QString FolderData::entryIdOf(const QString &fileName, const QString &uid) const
{
    const auto it = m_entries.constFind(fileName);
    return ItemId(entryIdOf(fileName), it == m_entries.cend() ? QStringList() : UidsOf(*it), uid);
}

QStringList FolderData::listItemFiles(NameOrder order) const
{
    if (m_source)
        return sourceKeys(order);
    // Straight from the directory: a large folder is listed at every change.
    return DirectoryNames(
        path, EntryKind::File,
        [](const char *name, size_t length) {
            return name[0] != '.' && length >= 5 && std::strcmp(name + length - 4, ".ics") == 0;
        },
        order);
}

QString FolderData::fileWithId(const QString &entryId) const
{
    const QString fileId = entryId.section(QLatin1Char('-'), 0, 0); // without an item's hash
    if (m_watcher) {
        if (!m_fileById) {
            m_fileById.emplace();
            for (auto it = m_notified.cbegin(); it != m_notified.cend(); ++it)
                m_fileById->insert(entryIdOf(it.key()), it.key());
        }
        return m_fileById->value(fileId);
    }
    for (const QString &name : listItemFiles()) {
        if (entryIdOf(name) == fileId)
            return name;
    }
    return QString();
}

std::shared_ptr<const IcalItem>
FolderData::itemWithId(const QString &fileName, const QString &entryId, QStringList &warnings)
{
    const Entry *e = entry(fileName, warnings);
    if (!e)
        return nullptr;
    for (const auto &item : e->items) {
        if (entryIdOf(fileName, item->uid()) == entryId)
            return item;
    }
    return nullptr;
}

FileFacts FolderData::factsOfRead(const QString &name, const Entry &e, QStringList &warnings) const
{
    if (!e.problem.isEmpty()) {
        const QString line = problemLine(name, e);
        warnings.append(line);
        qWarning("%s", qPrintable(line));
    }
    FileFacts facts{e.stamp, e.problem, {}};
    for (const auto &item : e.items)
        facts.items.push_back(ItemFacts::of(*item));
    return facts;
}

QHash<QString, FileStamp> FolderData::stamps() const
{
    return m_source ? sourceStamps() : StampsOf(path, listItemFiles(NameOrder::AsListed));
}
void FolderData::readEntry(const QString &fileName, Entry &e, QStringList &warnings)
{
    const QFileInfo info(path + QLatin1Char('/') + fileName);
    const FileStamp stamp = StampOf(info.filePath()).value_or(FileStamp());
    if (e.stamp == stamp)
        return;
    e.stamp = stamp;
    const qint64 size = info.size();
    QFile file(info.filePath());
    QString problem;
    std::vector<std::shared_ptr<const IcalItem>> items;
    // Only regular files, and only as large as an item can be: a link to a device or to a huge
    // file must not stop the folder.
    if (!info.isFile())
        problem = QStringLiteral("not a regular file");
    else if (size > IcalText::kMaxItemBytes)
        problem =
            QStringLiteral("larger than %1 bytes (%2)").arg(IcalText::kMaxItemBytes).arg(size);
    else if (!file.open(QIODevice::ReadOnly))
        problem = file.errorString();
    else if (const QByteArray text = file.read(IcalText::kMaxItemBytes + 1);
             text.size() > IcalText::kMaxItemBytes)
        problem = QStringLiteral("larger than %1 bytes").arg(IcalText::kMaxItemBytes);
    else
        items = IcalItem::parseFile(text, &problem);
    const QStringList before = UidsOf(e);
    e.items = std::move(items);
    const QStringList after = UidsOf(e);
    const QString fileId = entryIdOf(fileName);
    QStringList ids;
    for (const QString &uid : after)
        ids.append(ItemId(fileId, after, uid));
    for (const QString &uid : before)
        m_itemsWent |= !after.isEmpty() && !ids.contains(ItemId(fileId, before, uid));
    e.problem = problem;
    m_index->set(fileName, factsOfRead(fileName, e, warnings));
}

const QHash<QString, FileFacts> &FolderData::facts(QStringList &warnings)
{
    if (m_source) {
        refreshFromSource(warnings);
        return m_sourceFacts;
    }
    // A watched folder's names and stamps are those of its last look, which its watch keeps
    // current: a start asks for the facts twice, and each look is a stat of every file. While a
    // change waits to be looked at, the files are asked.
    const bool current = m_watcher && !m_debounce.isActive();
    if (current && m_factsMatchNotified)
        return m_index->files();
    if (current) {
        for (auto it = m_notified.cbegin(); it != m_notified.cend(); ++it)
            if (!m_index->facts(it.key(), it.value()))
                entry(it.key(), warnings);
        m_index->keepOnly(m_notified);
    } else {
        const QStringList files = listItemFiles();
        const QHash<QString, FileStamp> stamps = StampsOf(path, files);
        for (const QString &name : files) {
            const auto stamp = stamps.constFind(name);
            if (stamp == stamps.constEnd() || !m_index->facts(name, *stamp))
                entry(name, warnings);
        }
        m_index->keepOnly(files);
    }
    if (!m_index->save())
        qWarning("%s: the folder's index could not be written", qPrintable(path));
    m_factsMatchNotified = current;
    return m_index->files();
}

QString FolderData::problemLine(const QString &fileName, const Entry &e) const
{
    return path + QLatin1Char('/') + fileName + QStringLiteral(": ") +
           (e.items.empty() ? QStringLiteral("skipped, ") + e.problem : e.problem);
}

void FolderData::recoverOrWarn(QStringList &warnings)
{
    if (m_source)
        return;
    try {
        recover();
    } catch (const QvError &e) {
        warnings.append(e.description());
        qWarning("%s", qPrintable(e.description()));
    }
}

std::optional<QStringList> FolderData::refresh(const QStringList &fileNames, QStringList &warnings,
                                               const std::function<bool()> &progress)
{
    if (m_source) {
        if (progress && !progress())
            return std::nullopt;
        refreshFromSource(warnings);
        QStringList there;
        for (const QString &name : fileNames) {
            if (m_entries.contains(name))
                there.append(name);
        }
        return there;
    }
    recoverOrWarn(warnings);
    QStringList there;
    for (const QString &name : fileNames) {
        if (progress && !progress())
            return std::nullopt;
        if (entry(name, warnings))
            there.append(name);
    }
    return there;
}

bool FolderData::refresh(QStringList &warnings, const std::function<bool()> &progress)
{
    if (m_source) {
        if (progress && !progress())
            return false;
        refreshFromSource(warnings);
        return true;
    }
    recoverOrWarn(warnings);
    const QStringList files = listItemFiles();
    QHash<QString, Entry> fresh;
    fresh.reserve(files.size());
    for (const QString &name : files) {
        if (progress && !progress())
            return false;
        Entry e = m_entries.value(name);
        readEntry(name, e, warnings);
        fresh.insert(name, std::move(e));
    }
    m_entries = std::move(fresh);
    return true;
}

const FolderData::Entry *FolderData::entry(const QString &fileName, QStringList &warnings)
{
    if (m_source)
        return sourceEntry(fileName, warnings);
    if (!QFileInfo::exists(path + QLatin1Char('/') + fileName)) {
        m_entries.remove(fileName);
        return nullptr;
    }
    Entry &e = m_entries[fileName];
    readEntry(fileName, e, warnings);
    return &e;
}

QString FolderData::newFileName(const QString &uid) const
{
    if (m_source)
        return ObjectKey(uid);
    // Not a dot-file: the folder lists no such file (".hidden", "..").
    static const QRegularExpression safe(QStringLiteral("^[A-Za-z0-9_+-][A-Za-z0-9_.+-]{0,199}$"));
    QString base = uid;
    if (!safe.match(base).hasMatch())
        base = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString name = base + QStringLiteral(".ics");
    while (QFileInfo::exists(path + QLatin1Char('/') + name))
        name = QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral(".ics");
    return name;
}

namespace {

const QString kMoveJournal = QStringLiteral("/.quorvel-move");

// ReplaceFile, raising QvError on failure.
void WriteAtomically(const QString &target, const QByteArray &text, bool quick)
{
    if (const int error =
            ReplaceFile(target, text, quick ? FileDurability::Quick : FileDurability::Stored))
        throw QvError(error, FileErrorDescription(error) + QStringLiteral(" (") + target + ')',
                      QStringLiteral("Calendar store"));
}

bool HoldsUid(const FolderData::Entry *e, const QString &uid)
{
    return e && std::any_of(e->items.begin(), e->items.end(),
                            [&](const auto &item) { return item->uid() == uid; });
}

// An item file's name, never a path.
bool IsItemFileName(const QString &name)
{
    return name.endsWith(QLatin1String(".ics")) && !name.contains(QLatin1Char('/')) &&
           !name.startsWith('.');
}

} // namespace

QString FolderData::writeItem(const QString &fileName, const IcalItem &item, Write how)
{
    if (m_source) {
        // The service keeps an event by its UID, whatever key it was read by.
        const QString key = ObjectKey(item.uid());
        replaceFile(key, item.serialize(), how);
        return key;
    }
    if (how == Write::One) {
        recover();
        // By the file's text, not by what of it parsed: an event the store cannot read stays.
        if (const std::optional<QList<QByteArray>> uids = uidsInFile(fileName);
            !uids || uids->size() > 1)
            return moveOut(fileName, item, uids);
    }
    replaceFile(fileName, item.serialize(), how);
    return fileName;
}

void FolderData::replaceFile(const QString &fileName, const QByteArray &text, Write how)
{
    if (m_source) {
        writeToSource(fileName, text, how);
        return;
    }
    WriteAtomically(path + QLatin1Char('/') + fileName, text, how == Write::Batch);
    m_factsMatchNotified = false;
    // The file and its directory entry are stored; remember what we wrote.
    if (m_watcher)
        rememberIdOf(fileName);
    if (how == Write::Batch) {
        m_entries.remove(fileName);
        m_index->remove(fileName);
        return;
    }
    QStringList ignored;
    Entry &e = m_entries[fileName];
    e.stamp = FileStamp();
    readEntry(fileName, e, ignored);
}

std::optional<QByteArray> FolderData::fileText(const QString &fileName) const
{
    QFile file(path + QLatin1Char('/') + fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray text = file.read(IcalText::kMaxItemBytes + 1);
    if (text.size() > IcalText::kMaxItemBytes)
        return std::nullopt;
    return text;
}

std::optional<QByteArray> FolderData::restWithout(const QString &fileName, const QString &uid) const
{
    const std::optional<QByteArray> text = fileText(fileName);
    if (!text)
        return std::nullopt;
    const QByteArray bom = text->startsWith("\xEF\xBB\xBF") ? text->left(3) : QByteArray();
    std::optional<QByteArray> rest =
        IcalText::WithoutItem(QByteArrayView(*text).sliced(bom.size()), uid.toUtf8());
    if (rest)
        rest->prepend(bom);
    return rest;
}

std::optional<QList<QByteArray>> FolderData::uidsInFile(const QString &fileName) const
{
    if (!QFileInfo::exists(path + QLatin1Char('/') + fileName))
        return QList<QByteArray>();
    const std::optional<QByteArray> text = fileText(fileName);
    if (!text)
        return std::nullopt;
    return IcalText::ItemUids(
        QByteArrayView(*text).sliced(text->startsWith("\xEF\xBB\xBF") ? 3 : 0));
}

QString FolderData::moveOut(const QString &fileName, const IcalItem &item,
                            const std::optional<QList<QByteArray>> &uids)
{
    // Two files change: the journal lets whoever comes next finish a move that was cut off
    // between them, so that the event ends up in exactly one file.
    const QString uid = item.uid();
    const std::optional<QByteArray> rest = restWithout(fileName, uid);
    // A file that holds the item but cannot be split keeps everything: nothing is written.
    if (!rest && (!uids || uids->contains(uid.toUtf8())))
        throw QvError(
            FileError::PathFileAccessError,
            QCoreApplication::translate("Calendar store",
                                        "The item %1 shares the file %2 with events that cannot be "
                                        "read, and is not written")
                .arg(uid, path + QLatin1Char('/') + fileName),
            QStringLiteral("Calendar store"));
    const QString target = newFileName(item.uid());
    if (rest)
        WriteAtomically(path + kMoveJournal,
                        fileName.toUtf8().toPercentEncoding() + '\n' +
                            uid.toUtf8().toPercentEncoding() + '\n' +
                            target.toUtf8().toPercentEncoding() + '\n',
                        false);
    replaceFile(target, item.serialize(), Write::One);
    if (rest) {
        replaceFile(fileName, *rest, Write::One);
        DeleteFile(path + kMoveJournal);
    }
    return target;
}

void FolderData::recover()
{
    QFile journal(path + kMoveJournal);
    if (!journal.open(QIODevice::ReadOnly))
        return; // nothing was cut off
    const QList<QByteArray> lines = journal.read(64 * 1024).split('\n');
    journal.close();
    if (lines.size() >= 3) {
        const QString from = QString::fromUtf8(QByteArray::fromPercentEncoding(lines[0]));
        const QString uid = QString::fromUtf8(QByteArray::fromPercentEncoding(lines[1]));
        const QString to = QString::fromUtf8(QByteArray::fromPercentEncoding(lines[2]));
        QStringList ignored;
        // The event reached its new file: take it out of the old one, if it is still there.
        if (IsItemFileName(from) && IsItemFileName(to) && HoldsUid(entry(to, ignored), uid)) {
            if (const std::optional<QByteArray> rest = restWithout(from, uid))
                replaceFile(from, *rest, Write::One);
        }
    }
    if (const int error = DeleteFile(path + kMoveJournal))
        throw QvError(
            error, FileErrorDescription(error) + QStringLiteral(" (") + path + kMoveJournal + ')',
            QStringLiteral("Calendar store"));
}

bool FolderData::syncFiles() const
{
    if (m_source)
        return true; // the service stores what it accepted
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::syncfs(fd) == 0;
    ::close(fd);
    return ok;
}

void FolderData::removeItem(const QString &fileName, const QString &uid)
{
    if (m_source) {
        m_source->remove(uid);
        forgetObject(fileName);
        return;
    }
    recover();
    // By the file's text: events of other UIDs the store could not read stay in it.
    const std::optional<QList<QByteArray>> uids = uidsInFile(fileName);
    if (!uids || uids->size() > 1) {
        if (uids && !uids->contains(uid.toUtf8()))
            return; // gone from the file already
        const std::optional<QByteArray> rest = restWithout(fileName, uid);
        if (!rest)
            throw QvError(FileError::PathFileAccessError,
                          FileErrorDescription(FileError::PathFileAccessError) +
                              QStringLiteral(" (") + path + QLatin1Char('/') + fileName + ')',
                          QStringLiteral("Calendar store"));
        replaceFile(fileName, *rest, Write::One);
        return;
    }
    if (const int error = DeleteFile(path + QLatin1Char('/') + fileName))
        throw QvError(error, FileErrorDescription(error), QStringLiteral("Calendar store"));
    m_entries.remove(fileName);
    m_index->remove(fileName);
    m_factsMatchNotified = false;
    forgetIdOf(fileName);
}

QVariant FolderData::meta(const QString &key, const QVariant &fallback) const
{
    const QString file = path + QStringLiteral("/.quorvel-folder");
    if (!QFileInfo::exists(file))
        return fallback;
    return QSettings(file, QSettings::IniFormat).value(key, fallback);
}

void FolderData::setMeta(const QString &key, const QVariant &value)
{
    QSettings settings(path + QStringLiteral("/.quorvel-folder"), QSettings::IniFormat);
    settings.setValue(key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw QvError(
            FileError::PathFileAccessError,
            QCoreApplication::translate("Calendar store", "Cannot write the folder settings of %1")
                .arg(path),
            QStringLiteral("Calendar store"));
}

void FolderData::watch()
{
    if (m_source) {
        if (!std::exchange(m_sourceWatched, true))
            m_source->watch();
        return;
    }
    if (m_watcher)
        return;
    m_watcher = new DirectoryWatcher(path, this);
    // What the watch hears is checked against the index next, so it is read on the other core
    // while the folder is looked at; a large folder's look and index take about as long.
    std::thread reading([this] { m_index->load(); });
    m_notified = StampsOf(path, listItemFiles(NameOrder::AsListed));
    reading.join();
    connect(m_watcher, &DirectoryWatcher::changed, this, [this] {
        if (!m_debounce.isActive())
            m_unlookedSince.start();
        const qint64 left = kLongestWaitMs - m_unlookedSince.elapsed();
        m_debounce.start(int(std::clamp<qint64>(left, 0, kQuietMs)));
    });
}

void FolderData::scanForChanges()
{
    QStringList added, changedFiles;
    QHash<QString, FileStamp> now;
    const QStringList names = listItemFiles();
    const QHash<QString, FileStamp> stamps = StampsOf(path, names);
    for (const QString &name : names) {
        const FileStamp stamp = stamps.value(name);
        now.insert(name, stamp);
        const auto old = m_notified.constFind(name);
        if (old == m_notified.constEnd()) {
            added.append(name);
            rememberIdOf(name);
        } else if (*old != stamp) {
            changedFiles.append(name);
        }
    }
    int removed = 0;
    for (auto it = m_notified.constBegin(); it != m_notified.constEnd(); ++it) {
        if (!now.contains(it.key())) {
            ++removed;
            forgetIdOf(it.key());
        }
    }
    m_notified = std::move(now);
    m_factsMatchNotified = false;
    if (!added.isEmpty() || !changedFiles.isEmpty() || removed)
        emit changed(added, changedFiles, removed);
}

} // namespace Store
