#include "folderdata_p.h"

#include "calendarstore.h"
#include "fileio.h"
#include "icaltext_p.h"
#include "qverror.h"
#include "sessiondata_p.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QUuid>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Store {

FolderData::FolderData(std::shared_ptr<StoreData> s, QString rel)
    : store(std::move(s)), relPath(std::move(rel))
{
    path = relPath.isEmpty() ? store->root : store->root + QLatin1Char('/') + relPath;
    id = HashId("0000QF", store->id + QLatin1Char('\0') + relPath);
    m_debounce.setSingleShot(true);
    m_debounce.setInterval(150);
    connect(&m_debounce, &QTimer::timeout, this, &FolderData::scanForChanges);
}

QString FolderData::name() const
{
    return relPath.isEmpty() ? store->name : relPath.section(QLatin1Char('/'), -1);
}

QString FolderData::entryIdOf(const QString &fileName) const
{
    auto it = m_ids.constFind(fileName);
    if (it == m_ids.constEnd())
        it = m_ids.insert(fileName, HashId("0000QI", store->id + QLatin1Char('\0') + relPath +
                                                         QLatin1Char('/') + fileName));
    return *it;
}

QStringList FolderData::listItemFiles() const
{
    QStringList files;
    const QDir dir(path);
    for (const QString &name : dir.entryList({QStringLiteral("*.ics")}, QDir::Files)) {
        if (!name.startsWith(QLatin1Char('.')))
            files.append(name);
    }
    return files;
}

QString FolderData::fileWithId(const QString &entryId) const
{
    if (m_watcher)
        return m_fileById.value(entryId);
    for (const QString &name : listItemFiles()) {
        if (entryIdOf(name) == entryId)
            return name;
    }
    return QString();
}

void FolderData::readEntry(const QString &fileName, Entry &e, QStringList &warnings)
{
    const QFileInfo info(path + QLatin1Char('/') + fileName);
    const qint64 mtime = info.lastModified().toMSecsSinceEpoch();
    const qint64 size = info.size();
    if (e.mtime == mtime && e.size == size)
        return;
    e.mtime = mtime;
    e.size = size;
    QFile file(info.filePath());
    QString problem;
    std::unique_ptr<IcalItem> item;
    // Only regular files, and only as large as an item can be: a link to a device or to a huge
    // file must not stop the folder.
    if (!info.isFile())
        problem = QStringLiteral("not a regular file");
    else if (size > IcalText::kMaxItemBytes)
        problem = QStringLiteral("larger than %1 bytes (%2)").arg(IcalText::kMaxItemBytes).arg(size);
    else if (!file.open(QIODevice::ReadOnly))
        problem = file.errorString();
    else if (const QByteArray text = file.read(IcalText::kMaxItemBytes + 1); text.size() > IcalText::kMaxItemBytes)
        problem = QStringLiteral("larger than %1 bytes").arg(IcalText::kMaxItemBytes);
    else
        item = IcalItem::parse(text, &problem);
    e.item = std::move(item);
    e.problem = problem;
    if (!problem.isEmpty()) {
        const QString line = info.filePath() + QStringLiteral(": ") +
                             (e.item ? problem : QStringLiteral("skipped, ") + problem);
        warnings.append(line);
        qWarning("%s", qPrintable(line));
    }
}

bool FolderData::refresh(QStringList &warnings, const std::function<bool()> &progress)
{
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
    if (!QFileInfo::exists(path + QLatin1Char('/') + fileName)) {
        m_entries.remove(fileName);
        return nullptr;
    }
    Entry &e = m_entries[fileName];
    readEntry(fileName, e, warnings);
    return &e;
}

QString FolderData::newFileName(const IcalItem &item) const
{
    static const QRegularExpression safe(QStringLiteral("^[A-Za-z0-9_.+-]{1,200}$"));
    QString base = item.uid();
    if (!safe.match(base).hasMatch())
        base = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString name = base + QStringLiteral(".ics");
    while (QFileInfo::exists(path + QLatin1Char('/') + name))
        name = QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral(".ics");
    return name;
}

void FolderData::writeItem(const QString &fileName, const IcalItem &item, Write how)
{
    const QString target = path + QLatin1Char('/') + fileName;
    const QString temp = path + QStringLiteral("/.~") + fileName + QStringLiteral(".tmp");
    const QByteArray text = item.serialize();
    int error = DeleteFile(temp); // one a crash left behind
    // Shared with whoever reads the folder: the umask's mode for a new item, the old file's for
    // one that is replaced.
    BinaryFile f = error ? BinaryFile() : BinaryFile::create(temp, &error, BinaryFile::Access::AsUmask);
    struct stat old;
    if (f.isOpen() && ::stat(QFile::encodeName(target).constData(), &old) == 0)
        f.setMode(old.st_mode);
    bool ok = f.isOpen() && f.write(text.constData(), text.size()) && (how == Write::Batch || f.sync()) &&
              f.close();
    if (ok && std::rename(QFile::encodeName(temp).constData(),
                          QFile::encodeName(target).constData()) != 0) {
        ok = false;
        error = FileErrorNumber(errno, target);
    }
    if (!ok) {
        if (!error)
            error = f.lastError();
        QFile::remove(temp);
        throw QvError(error, FileErrorDescription(error) + QStringLiteral(" (") + target + ')',
                      QStringLiteral("Calendar store"));
    }
    // The file and its directory entry are stored; remember what we wrote.
    if (m_watcher)
        index(fileName);
    if (how == Write::Batch) {
        m_entries.remove(fileName);
        return;
    }
    QStringList ignored;
    Entry &e = m_entries[fileName];
    e.mtime = -1;
    readEntry(fileName, e, ignored);
}

bool FolderData::syncFiles() const
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::syncfs(fd) == 0;
    ::close(fd);
    return ok;
}

void FolderData::removeItem(const QString &fileName)
{
    if (const int error = DeleteFile(path + QLatin1Char('/') + fileName))
        throw QvError(error, FileErrorDescription(error), QStringLiteral("Calendar store"));
    m_entries.remove(fileName);
    m_fileById.remove(entryIdOf(fileName));
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
        throw QvError(75, QStringLiteral("Cannot write the folder settings of ") + path,
                      QStringLiteral("Calendar store"));
}

void FolderData::watch()
{
    if (m_watcher)
        return;
    m_watcher = new QFileSystemWatcher(this);
    m_watcher->addPath(path);
    for (const QString &name : listItemFiles()) {
        const QFileInfo info(path + QLatin1Char('/') + name);
        m_notified.insert(name, {info.lastModified().toMSecsSinceEpoch(), info.size()});
        index(name);
        // Files too, so that a file rewritten in place is noticed.
        m_watcher->addPath(info.filePath());
    }
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { m_debounce.start(); });
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { m_debounce.start(); });
}

void FolderData::scanForChanges()
{
    QStringList added, changedFiles;
    QHash<QString, std::pair<qint64, qint64>> now;
    for (const QString &name : listItemFiles()) {
        const QFileInfo info(path + QLatin1Char('/') + name);
        const std::pair<qint64, qint64> stamp{info.lastModified().toMSecsSinceEpoch(), info.size()};
        now.insert(name, stamp);
        const auto old = m_notified.constFind(name);
        if (old == m_notified.constEnd()) {
            added.append(name);
            index(name);
            m_watcher->addPath(info.filePath());
        } else if (*old != stamp) {
            changedFiles.append(name);
            m_watcher->addPath(info.filePath()); // a rename put a new file in its place
        }
    }
    int removed = 0;
    for (auto it = m_notified.constBegin(); it != m_notified.constEnd(); ++it) {
        if (!now.contains(it.key())) {
            ++removed;
            m_fileById.remove(entryIdOf(it.key()));
        }
    }
    m_notified = std::move(now);
    if (!added.isEmpty() || !changedFiles.isEmpty() || removed)
        emit changed(added, changedFiles, removed);
}

} // namespace Store
