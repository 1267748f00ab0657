#include "folderindex_p.h"

#include "binaryfile.h"
#include "filereplacement.h"
#include "icalitem_p.h"
#include "oadate.h"
#include "storedata_p.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Store {

QString FolderIndex::FileOf(const QString &folderPath)
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                        QStringLiteral("/quorvel/folders");
    // Created private: each index lists every subject and date of its folder.
    if (!QFileInfo::exists(dir) && QDir().mkpath(dir))
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray path = QFileInfo(folderPath).absoluteFilePath().toUtf8();
    return dir + QLatin1Char('/') +
           QString::fromLatin1(QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex()) +
           QStringLiteral(".index");
}

namespace {

FileStamp StampOf(const struct stat &st)
{
    return FileStamp{qint64(st.st_size),
                     qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                     quint64(st.st_ino)};
}

} // namespace

std::optional<FileStamp> StampOf(const QString &path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return StampOf(st);
}

QHash<QString, FileStamp> StampsOf(const QString &dir, const QStringList &names)
{
    QHash<QString, FileStamp> stamps;
    stamps.reserve(names.size());
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return stamps;
    struct stat st;
    for (const QString &name : names) {
        if (::fstatat(fd, QFile::encodeName(name).constData(), &st, 0) == 0)
            stamps.insert(name, StampOf(st));
    }
    ::close(fd);
    return stamps;
}

ItemFacts ItemFacts::of(const IcalItem &item)
{
    ItemFacts f;
    f.uid = item.uid();
    f.subjects.append(item.text("SUMMARY"));
    for (icalcomponent *o : item.overrides()) {
        const QString subject = IcalItem::textOf(o, "SUMMARY");
        if (!f.subjects.contains(subject))
            f.subjects.append(subject);
    }
    f.messageClass = ItemMessageClass(item);
    f.hidden = item.isHidden();
    f.recurring = item.isRecurring();
    const IcalItem::Times t = item.times();
    f.firstStart = t.valid ? t.start : OADate::kMin;
    f.lastEnd = f.recurring || !t.valid ? OADate::kMax : t.end;
    return f;
}

const FileFacts *FolderIndex::facts(const QString &fileName, const FileStamp &stamp)
{
    load();
    const auto it = m_files.constFind(fileName);
    return it != m_files.cend() && it->stamp == stamp ? &*it : nullptr;
}

void FolderIndex::set(const QString &fileName, FileFacts facts)
{
    load();
    m_files.insert(fileName, std::move(facts));
    m_dirty = true;
}

void FolderIndex::remove(const QString &fileName)
{
    load();
    m_dirty |= m_files.remove(fileName) > 0;
}

namespace {

// Drops the files of files whose names keep does not have; true when it dropped any.
template <class Names> bool KeepOnly(QHash<QString, FileFacts> &files, const Names &keep)
{
    if (files.size() == keep.size())
        return false; // every name there is indexed by now, so none is extra
    bool dropped = false;
    for (auto it = files.begin(); it != files.end();) {
        if (keep.contains(it.key())) {
            ++it;
        } else {
            it = files.erase(it);
            dropped = true;
        }
    }
    return dropped;
}

} // namespace

void FolderIndex::keepOnly(const QStringList &fileNames)
{
    load();
    if (m_files.size() != fileNames.size())
        m_dirty |= KeepOnly(m_files, QSet<QString>(fileNames.begin(), fileNames.end()));
}

void FolderIndex::keepOnly(const QHash<QString, FileStamp> &stamps)
{
    load();
    m_dirty |= KeepOnly(m_files, stamps);
}

const QHash<QString, FileFacts> &FolderIndex::files()
{
    load();
    return m_files;
}

bool FolderIndex::save()
{
    if (!m_dirty)
        return true;
    // It lists every subject and date of the folder: no more readable than the items.
    if (ReplaceFile(m_file, serialize(m_files), FileDurability::Quick,
                    BinaryFile::Access::Private) != 0)
        return false;
    m_dirty = false;
    return true;
}

void FolderIndex::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    QFile file(m_file);
    if (file.open(QIODevice::ReadOnly)) {
        if (std::optional<QHash<QString, FileFacts>> read = parse(file.readAll()))
            m_files = std::move(*read);
        else
            m_dirty = true; // corrupt: rebuilt from the files, then replaced
    }
}

namespace {

const QByteArray kHeader = "QUORVEL-INDEX 1\n";

QByteArray Field(const QString &text)
{
    return text.toUtf8().toPercentEncoding(QByteArray(), " ");
}

QString Text(QByteArrayView field)
{
    // Most fields need no decoding; their text is made without a copy of the bytes first.
    if (!field.contains('%'))
        return QString::fromUtf8(field);
    return QString::fromUtf8(QByteArray::fromPercentEncoding(field.toByteArray()));
}

// The fields of a line, separated by tabs, one by one as views into it.
class Fields
{
public:
    explicit Fields(QByteArrayView line) : m_rest(line) {}
    // The next field; false at the end of the line.
    bool next(QByteArrayView &field)
    {
        if (m_done)
            return false;
        const qsizetype tab = m_rest.indexOf('\t');
        field = tab < 0 ? m_rest : m_rest.first(tab);
        m_done = tab < 0;
        m_rest = tab < 0 ? QByteArrayView() : m_rest.sliced(tab + 1);
        return true;
    }

private:
    QByteArrayView m_rest;
    bool m_done = false;
};

qint64 Integer(QByteArrayView field, bool &ok)
{
    return ok ? field.toLongLong(&ok) : 0;
}

QByteArray Number(double value)
{
    return QByteArray::number(value, 'g', 17);
}

} // namespace

// A line a file ("F name size mtime inode problem"), each followed by a line an item ("I uid
// hidden recurring first last class subject..."), fields percent-encoded and separated by tabs;
// then "END count digest", the digest of everything before it.
QByteArray FolderIndex::serialize(const QHash<QString, FileFacts> &files)
{
    QByteArray out = kHeader;
    QStringList names = files.keys();
    names.sort();
    for (const QString &name : names) {
        const FileFacts &f = files[name];
        out += "F\t" + Field(name) + '\t' + QByteArray::number(f.stamp.size) + '\t' +
               QByteArray::number(f.stamp.mtimeNs) + '\t' + QByteArray::number(f.stamp.inode) +
               '\t' + Field(f.problem) + '\n';
        for (const ItemFacts &i : f.items) {
            out += "I\t" + Field(i.uid) + '\t' + (i.hidden ? '1' : '0') + '\t' +
                   (i.recurring ? '1' : '0') + '\t' + Number(i.firstStart) + '\t' +
                   Number(i.lastEnd) + '\t' + Field(i.messageClass);
            for (const QString &subject : i.subjects)
                out += '\t' + Field(subject);
            out += '\n';
        }
    }
    const QByteArray digest = QCryptographicHash::hash(out, QCryptographicHash::Sha1).toHex();
    out += "END\t" + QByteArray::number(names.size()) + '\t' + digest + '\n';
    return out;
}

std::optional<QHash<QString, FileFacts>> FolderIndex::parse(const QByteArray &text)
{
    if (!text.startsWith(kHeader) || !text.endsWith('\n'))
        return std::nullopt;
    const qsizetype endAt = text.lastIndexOf("\nEND\t", text.size() - 2);
    if (endAt < 0)
        return std::nullopt;
    const QByteArrayView body = QByteArrayView(text).first(endAt + 1);
    const QList<QByteArray> end = text.mid(endAt + 1).trimmed().split('\t');
    if (end.size() != 3 ||
        end[2] != QCryptographicHash::hash(body, QCryptographicHash::Sha1).toHex())
        return std::nullopt;
    QHash<QString, FileFacts> files;
    // Sized once from the count the end line gives (a large folder's table grew a dozen times).
    files.reserve(std::clamp<qsizetype>(end[1].toLongLong(), 0, text.size() / 8));
    FileFacts *current = nullptr;
    // Message classes repeat on nearly every item: one text each.
    QHash<QByteArray, QString> classes;
    QByteArrayView rest = body.sliced(kHeader.size());
    while (!rest.isEmpty()) {
        const qsizetype newline = rest.indexOf('\n');
        const QByteArrayView line = newline < 0 ? rest : rest.first(newline);
        rest = newline < 0 ? QByteArrayView() : rest.sliced(newline + 1);
        if (line.isEmpty())
            continue;
        Fields fields(line);
        QByteArrayView kind, f[7];
        fields.next(kind);
        int count = 0;
        const int wanted = kind == "F" ? 5 : 6;
        while (count < wanted && fields.next(f[count]))
            ++count;
        bool ok = count == wanted;
        if (ok && kind == "F") {
            QByteArrayView extra;
            if (fields.next(extra))
                return std::nullopt;
            FileFacts facts;
            facts.stamp.size = Integer(f[1], ok);
            facts.stamp.mtimeNs = Integer(f[2], ok);
            facts.stamp.inode = ok ? f[3].toULongLong(&ok) : 0;
            facts.problem = Text(f[4]);
            current = &files.insert(Text(f[0]), std::move(facts)).value();
        } else if (ok && kind == "I" && current) {
            ItemFacts item;
            item.uid = Text(f[0]);
            item.hidden = f[1] == "1";
            item.recurring = f[2] == "1";
            item.firstStart = f[3].toDouble(&ok);
            item.lastEnd = ok ? f[4].toDouble(&ok) : 0;
            auto known = classes.find(f[5].toByteArray());
            if (known == classes.end())
                known = classes.insert(f[5].toByteArray(), Text(f[5]));
            item.messageClass = *known;
            QByteArrayView subject;
            if (!fields.next(subject))
                return std::nullopt; // an item has at least its own subject, maybe empty
            do
                item.subjects.append(Text(subject));
            while (fields.next(subject));
            current->items.push_back(std::move(item));
        } else {
            ok = false;
        }
        if (!ok)
            return std::nullopt;
    }
    if (end[1].toLongLong() != files.size())
        return std::nullopt;
    return files;
}

} // namespace Store
