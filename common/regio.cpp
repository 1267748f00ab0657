#include "regio.h"

#include "dialogs.h"

#include <QFile>
#include <QStandardPaths>
#include <QtEndian>

const QString RegIO::kError = QStringLiteral("Error");

namespace {

// The named value of the key at keyPath in the INI text, with whether the key exists at all.
struct Found
{
    bool keyExists = false;
    bool valueFound = false;
    QString raw;
};

Found findInIni(const QByteArray &ini, const QString &keyPath, const QString &valueName)
{
    Found found;
    const QString keyPrefix = keyPath + QLatin1Char('\\');
    bool inKey = false;
    for (const QByteArray &rawLine : ini.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) ||
            line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString group = line.mid(1, line.size() - 2).trimmed();
            inKey = group.compare(keyPath, Qt::CaseInsensitive) == 0;
            if (inKey || group.startsWith(keyPrefix, Qt::CaseInsensitive))
                found.keyExists = true;
            continue;
        }
        if (!inKey || found.valueFound)
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        QString name = line.left(eq).trimmed();
        if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) &&
            name.endsWith(QLatin1Char('"')))
            name = name.mid(1, name.size() - 2);
        if (name == QLatin1String("@"))
            name.clear();
        if (name.compare(valueName, Qt::CaseInsensitive) == 0) {
            found.valueFound = true;
            found.raw = line.mid(eq + 1).trimmed();
        }
    }
    return found;
}

// Unquotes "..." with \" and \\ escapes; bare text stays as it is.
QString unquote(const QString &raw)
{
    if (raw.size() < 2 || !raw.startsWith(QLatin1Char('"')) || !raw.endsWith(QLatin1Char('"')))
        return raw;
    QString out;
    for (qsizetype i = 1; i + 1 < raw.size(); ++i) {
        if (raw[i] == QLatin1Char('\\') && i + 2 < raw.size())
            ++i;
        out.append(raw[i]);
    }
    return out;
}

} // namespace

RegIO::RegIO(Dialogs &dialogs, const QString &path) : m_dialogs(dialogs), m_path(path) {}

QString RegIO::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Quorvel/registry.ini");
}

quint32 RegIO::RegRootKey(const QString &name)
{
    static const char *const roots[] = {
        "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
        "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};
    for (quint32 i = 0; i < std::size(roots); ++i) {
        if (name == QLatin1String(roots[i]))
            return 0x80000000u + i;
    }
    return 0;
}

bool RegIO::RegSplitPath(const QString &path, quint32 &root, QString &subkey) const
{
    if (!path.startsWith(QLatin1String("HKEY_")) || path.endsWith(QLatin1Char('\\'))) {
        m_dialogs.message(QStringLiteral("Incorrect Format:\n\n") + path);
        return false;
    }
    const qsizetype slash = path.indexOf(QLatin1Char('\\'));
    root = RegRootKey(slash < 0 ? path : path.left(slash));
    subkey = slash < 0 ? QString() : path.mid(slash + 1);
    return true;
}

bool RegIO::lookup(const QString &path, const QString &valueName, Value &value,
                   bool &unknownRoot) const
{
    unknownRoot = false;
    quint32 root = 0;
    QString subkey;
    if (!RegSplitPath(path, root, subkey))
        return false;
    if (root == 0) {
        unknownRoot = true;
        return false;
    }
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString keyPath = subkey.isEmpty() ? path.section(QLatin1Char('\\'), 0, 0) : path;
    const Found found = findInIni(file.readAll(), keyPath, valueName);
    if (!found.keyExists || !found.valueFound)
        return false;

    const QString &raw = found.raw;
    if (raw.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        bool ok = false;
        const quint32 n = raw.mid(6).trimmed().toUInt(&ok, 16);
        if (!ok)
            return false;
        value.type = Type::Number;
        value.data.resize(4);
        qToLittleEndian(n, value.data.data());
    } else if (raw.startsWith(QLatin1String("hex:"), Qt::CaseInsensitive)) {
        value.type = Type::Binary;
        value.data.clear();
        for (const QString &pair : raw.mid(4).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            bool ok = false;
            const uint byte = pair.trimmed().toUInt(&ok, 16);
            if (!ok || byte > 0xFF)
                return false;
            value.data.append(char(byte));
        }
    } else {
        value.type = Type::Text;
        value.data = unquote(raw).toUtf8();
    }
    return true;
}

QVariant RegIO::RegReadNumber(const QString &path, const QString &valueName) const
{
    Value v;
    bool unknownRoot = false;
    if (!lookup(path, valueName, v, unknownRoot))
        return unknownRoot ? QVariant() : QVariant(kError);
    if (v.type != Type::Number)
        return kError;
    return QVariant(qint32(qFromLittleEndian<quint32>(v.data.constData())));
}

QString RegIO::RegReadText(const QString &path, const QString &valueName) const
{
    Value v;
    bool unknownRoot = false;
    if (!lookup(path, valueName, v, unknownRoot))
        return unknownRoot ? QString() : kError;
    if (v.type == Type::Number)
        return kError;
    // Binary data reads up to its first NUL, as a text buffer would hold it.
    const qsizetype nul = v.data.indexOf('\0');
    return QString::fromUtf8(nul < 0 ? v.data : v.data.left(nul));
}

QVariant RegIO::RegReadRaw(const QString &path, const QString &valueName) const
{
    Value v;
    bool unknownRoot = false;
    if (!lookup(path, valueName, v, unknownRoot))
        return unknownRoot ? QVariant() : QVariant(kError);
    if (v.type == Type::Text)
        return QString::fromUtf8(v.data) + QChar(0);
    // Bytes as bytes: one character each.
    return QString::fromLatin1(v.data);
}

QString RegIO::SyncherReadText(const QString &path, const QString &valueName) const
{
    Value v;
    bool unknownRoot = false;
    if (!lookup(path, valueName, v, unknownRoot) || v.type == Type::Number)
        return kError;
    QByteArray buffer = v.data;
    if (v.type == Type::Text)
        buffer.append('\0');
    buffer = buffer.left(255);
    QString text = QString::fromUtf8(buffer);
    // Trim spaces only, as the buffer was filled with them.
    qsizetype from = 0, to = text.size();
    while (from < to && text[from] == QLatin1Char(' '))
        ++from;
    while (to > from && text[to - 1] == QLatin1Char(' '))
        --to;
    text = text.mid(from, to - from);
    text.chop(1);
    return text;
}

QString RegIO::ListSeparator() const
{
    const QString separator = RegReadText(
        QStringLiteral("HKEY_CURRENT_USER\\Control Panel\\International"), QStringLiteral("sList"));
    return separator == kError || separator.isEmpty() ? QStringLiteral(",") : separator;
}
