#include "knowncalendars.h"

#include "binaryfile.h"
#include "storedata_p.h"
#include "vdirsyncerconfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>

#include <glob.h>

namespace Store {
namespace {

// One "key = value" of a section, with the section's names from the outside in.
struct Setting
{
    QStringList sections;
    QString key;
    QString value;
};

// The settings of an INI-like file: "[name]" opens a section, "[[name]]" one inside it (khal's
// configobj), "#" and ";" begin comment lines.
QList<Setting> Settings(const QString &text)
{
    static const QRegularExpression header(QStringLiteral("^(\\[+)\\s*([^\\]]*?)\\s*\\]+$"));
    QList<Setting> out;
    QStringList sections;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) ||
            line.startsWith(QLatin1Char(';')))
            continue;
        const QRegularExpressionMatch m = header.match(line);
        if (m.hasMatch()) {
            const int depth = int(m.capturedLength(1));
            sections = sections.mid(0, depth - 1);
            while (sections.size() < depth - 1)
                sections.append(QString());
            sections.append(m.captured(2));
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0)
            out.append({sections, line.left(eq).trimmed(), line.mid(eq + 1).trimmed()});
    }
    return out;
}

// A configobj value: quoted, or bare up to an inline comment.
QString Unquoted(const QString &value)
{
    if (value.size() >= 2 && (value[0] == QLatin1Char('"') || value[0] == QLatin1Char('\''))) {
        const qsizetype end = value.indexOf(value[0], 1);
        if (end > 0)
            return value.mid(1, end - 1);
    }
    const qsizetype comment = value.indexOf(QStringLiteral(" #"));
    return (comment >= 0 ? value.left(comment) : value).trimmed();
}

// A vdirsyncer value is JSON: a string, null, a list.
QJsonValue JsonValue(const QString &value)
{
    const QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray("[") + value.toUtf8() + QByteArray("]"));
    return doc.isArray() && doc.array().size() == 1 ? doc.array().at(0) : QJsonValue();
}

// "~" and $VARIABLE or ${VARIABLE}, as both tools expand their paths.
QString ExpandedPath(QString path, const QString &home)
{
    static const QRegularExpression variable(QStringLiteral("\\$(\\w+|\\{(\\w+)\\})"));
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
        path = home + path.mid(1);
    QString out;
    qsizetype last = 0;
    for (auto it = variable.globalMatch(path); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString name = m.captured(2).isEmpty() ? m.captured(1) : m.captured(2);
        out += path.mid(last, m.capturedStart() - last);
        out += qEnvironmentVariableIsSet(qPrintable(name)) ? qEnvironmentVariable(qPrintable(name))
                                                           : m.captured(0);
        last = m.capturedEnd();
    }
    out += path.mid(last);
    return QDir::cleanPath(out);
}

QString FirstLineOf(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.read(4096)).section(QLatin1Char('\n'), 0, 0).trimmed();
}

KnownCalendar Calendar(const QString &dir, const QString &name)
{
    KnownCalendar c;
    c.path = QDir(dir).absolutePath();
    c.name = name.isEmpty() ? QFileInfo(c.path).fileName() : name;
    c.displayName = CollectionDisplayName(c.path);
    if (c.displayName.isEmpty())
        c.displayName = c.name;
    c.colour = CollectionColour(c.path);
    return c;
}

QStringList Globbed(const QString &pattern)
{
    QStringList out;
    glob_t g{};
    if (::glob(QFile::encodeName(pattern).constData(), GLOB_ONLYDIR, nullptr, &g) == 0) {
        for (size_t i = 0; i < g.gl_pathc; ++i)
            out.append(QFile::decodeName(g.gl_pathv[i]));
    }
    ::globfree(&g);
    return out;
}

bool IsDirectory(const QString &path)
{
    return QFileInfo(path).isDir();
}

QString ConfigHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

} // namespace

QString CollectionDisplayName(const QString &dir)
{
    return FirstLineOf(dir + QStringLiteral("/displayname"));
}

QString CollectionColour(const QString &dir)
{
    static const QRegularExpression colour(QStringLiteral("^#[0-9A-Fa-f]{6}"));
    const QString written = FirstLineOf(dir + QStringLiteral("/color"));
    return colour.match(written).hasMatch() ? written.left(7).toUpper() : QString();
}

namespace {

// Beside the window's own settings (its size), which are the same program's.
QSettings HostSettings()
{
    return QSettings(QStringLiteral("Quorvel"), QStringLiteral("Quorvel"));
}
const QString kRememberedKey = QStringLiteral("Host/calendar");

} // namespace

QString RememberedCalendar()
{
    return HostSettings().value(kRememberedKey).toString();
}

bool RememberCalendar(const QString &directory)
{
    QSettings settings = HostSettings();
    settings.setValue(kRememberedKey, directory);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

std::optional<KnownCalendar> FirstCalendarUnder(const QList<KnownCalendar> &calendars,
                                                const QString &dir)
{
    const QString under = QDir::cleanPath(dir) + QLatin1Char('/');
    for (const KnownCalendar &c : calendars)
        if (QDir::cleanPath(c.path).startsWith(under))
            return c;
    return std::nullopt;
}

QList<KnownCalendar> KhalCalendars(const QString &configText, const QString &home)
{
    struct Entry
    {
        QString name, path, type;
    };
    QList<Entry> entries;
    QString preferred;
    for (const Setting &s : Settings(configText)) {
        if (s.sections.size() == 1 && s.sections[0] == QLatin1String("default") &&
            s.key == QLatin1String("default_calendar"))
            preferred = Unquoted(s.value);
        if (s.sections.size() != 2 || s.sections[0] != QLatin1String("calendars"))
            continue;
        auto it = std::find_if(entries.begin(), entries.end(),
                               [&](const Entry &e) { return e.name == s.sections[1]; });
        if (it == entries.end())
            it = entries.insert(entries.end(), {s.sections[1], QString(), QString()});
        if (s.key == QLatin1String("path"))
            it->path = ExpandedPath(Unquoted(s.value), home);
        else if (s.key == QLatin1String("type"))
            it->type = Unquoted(s.value);
    }
    QList<KnownCalendar> out;
    for (const Entry &e : entries) {
        if (e.path.isEmpty() || e.type == QLatin1String("birthdays")) // birthdays are contacts
            continue;
        if (e.type == QLatin1String("discover")) {
            for (const QString &dir : Globbed(e.path))
                out.append(Calendar(dir, QString()));
        } else if (IsDirectory(e.path)) {
            out.append(Calendar(e.path, e.name));
        }
    }
    std::stable_partition(out.begin(), out.end(),
                          [&](const KnownCalendar &c) { return c.name == preferred; });
    return out;
}

QList<KnownCalendar> VdirsyncerCalendars(const QString &configText, const QString &home)
{
    struct Storage
    {
        QString name, type, path, fileext;
    };
    QList<Storage> storages;
    QHash<QString, bool> wholePath; // by storage: a pair syncs its path as one collection
    QHash<QString, QStringList> pairSides;
    QHash<QString, QJsonValue> pairCollections;
    for (const Setting &s : Settings(configText)) {
        if (s.sections.size() != 1)
            continue;
        const QString section = s.sections[0].simplified();
        const QJsonValue value = JsonValue(s.value);
        if (section.startsWith(QLatin1String("storage "))) {
            const QString name = section.mid(8);
            auto it = std::find_if(storages.begin(), storages.end(),
                                   [&](const Storage &st) { return st.name == name; });
            if (it == storages.end())
                it = storages.insert(storages.end(), {name, QString(), QString(), QString()});
            if (s.key == QLatin1String("type"))
                it->type = value.toString();
            else if (s.key == QLatin1String("path"))
                it->path = ExpandedPath(value.toString(), home);
            else if (s.key == QLatin1String("fileext"))
                it->fileext = value.toString();
        } else if (section.startsWith(QLatin1String("pair "))) {
            const QString pair = section.mid(5);
            if (s.key == QLatin1String("a") || s.key == QLatin1String("b"))
                pairSides[pair].append(value.toString());
            else if (s.key == QLatin1String("collections"))
                pairCollections.insert(pair, value);
        }
    }
    for (auto it = pairSides.cbegin(); it != pairSides.cend(); ++it) {
        // A pair without collections, or with null, keeps the storage's path as one collection.
        const QJsonValue collections = pairCollections.value(it.key(), QJsonValue::Null);
        for (const QString &side : it.value())
            wholePath[side] = wholePath.value(side, false) || collections.isNull();
    }
    QList<KnownCalendar> out;
    for (const Storage &st : storages) {
        if (st.type != QLatin1String("filesystem") || st.fileext != QLatin1String(".ics") ||
            !IsDirectory(st.path) ||
            st.path.startsWith(SubscriptionsDirectory() + QLatin1Char('/')))
            continue;
        const QStringList subs = SubfolderNames(st.path);
        // Unpaired, a storage of subdirectories is taken for collections all the same.
        const bool whole = wholePath.contains(st.name) ? wholePath[st.name] : subs.isEmpty();
        if (whole) {
            out.append(Calendar(st.path, st.name));
            continue;
        }
        for (const QString &sub : subs)
            out.append(Calendar(st.path + QLatin1Char('/') + sub, QString()));
    }
    return out;
}

QString VdirsyncerConfigPath()
{
    const QString given = qEnvironmentVariable("VDIRSYNCER_CONFIG");
    if (!given.isEmpty())
        return given;
    const QString old = QDir::homePath() + QStringLiteral("/.vdirsyncer/config");
    const QString xdg = ConfigHome() + QStringLiteral("/vdirsyncer/config");
    return !QFileInfo::exists(xdg) && QFileInfo::exists(old) ? old : xdg;
}

QList<KnownCalendar> KnownCalendars()
{
    const QString home = QDir::homePath();
    QList<KnownCalendar> all =
        KhalCalendars(ReadTextFile(ConfigHome() + QStringLiteral("/khal/config")), home);
    all += VdirsyncerCalendars(ReadTextFile(VdirsyncerConfigPath()), home);
    QList<KnownCalendar> out;
    QSet<QString> seen;
    for (const KnownCalendar &c : all) {
        const QString canonical = QFileInfo(c.path).canonicalFilePath();
        if (!seen.contains(canonical)) {
            seen.insert(canonical);
            out.append(c);
        }
    }
    return out;
}

QList<KnownStore> KnownStores(const QList<KnownCalendar> &calendars)
{
    QList<KnownStore> out;
    QSet<QString> names;
    // A storage may hold thousands of collections: looked up by hash, not by walking the lists.
    QHash<QString, qsizetype> storeAt;
    QSet<std::pair<qsizetype, QString>> listed;
    for (const KnownCalendar &c : calendars) {
        const QFileInfo dir(c.path);
        const QString root = dir.absolutePath();
        if (!IsFolderName(dir.fileName()))
            continue;
        if (const auto same = storeAt.constFind(root); same != storeAt.cend()) {
            if (!listed.contains({*same, dir.fileName()})) {
                listed.insert({*same, dir.fileName()});
                out[*same].folders.append(dir.fileName());
            }
            continue;
        }
        storeAt.insert(root, out.size());
        listed.insert({out.size(), dir.fileName()});
        // ".calendars" reads as "calendars"; a store's name is a folder path's first element.
        QString base = QFileInfo(root).fileName();
        while (base.startsWith(QLatin1Char('.')))
            base.remove(0, 1);
        base.replace(QLatin1Char('\\'), QLatin1Char('_'));
        if (base.isEmpty())
            base = QStringLiteral("Calendars");
        QString name = base;
        for (int n = 2; names.contains(name); ++n)
            name = QStringLiteral("%1 (%2)").arg(base).arg(n);
        names.insert(name);
        out.append({root, name, dir.fileName(), {dir.fileName()}});
    }
    return out;
}

} // namespace Store
