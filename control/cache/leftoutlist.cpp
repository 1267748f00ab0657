#include "leftoutlist.h"

#include "binaryfile.h"
#include "filereplacement.h"

#include <QFile>

QString LeftOutListFileOf(const QString &cacheFile)
{
    return cacheFile + QStringLiteral(".left-out");
}

bool WriteLeftOutList(const QString &cacheFile, const QStringList &lines)
{
    const QString name = LeftOutListFileOf(cacheFile);
    if (lines.isEmpty())
        return DeleteFile(name) == 0;
    QByteArray text;
    // Paths and reasons are the calendar's own texts: one line each, whatever they hold.
    for (QString line : lines)
        text += line.replace(QLatin1Char('\n'), QLatin1Char(' ')).toUtf8() + '\n';
    return ReplaceFile(name, text, FileDurability::Quick, BinaryFile::Access::Private) == 0;
}

QStringList ReadLeftOutList(const QString &cacheFile)
{
    QFile file(LeftOutListFileOf(cacheFile));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // The list names files of one folder: a few hundred kilobytes is far more than it holds.
    const QByteArray text = file.read(1 << 20);
    QStringList lines;
    for (const QByteArray &line : text.split('\n')) {
        if (!line.isEmpty())
            lines.append(QString::fromUtf8(line));
    }
    return lines;
}

QString LeftOutStatus(int count)
{
    if (count <= 0)
        return QString();
    if (count == 1)
        return QStringLiteral(
            "1 calendar file was left out; \"Calendar files left out\" in the help menu "
            "names it.");
    return QStringLiteral(
               "%1 calendar files were left out; \"Calendar files left out\" in the help menu "
               "names them.")
        .arg(count);
}
