#include "homepage.h"

#include "binaryfile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace {

QString localPath(const QString &address)
{
    // "file:C:\Planner\TeamFrame.htm" as the installer writes it, or a file URL, or a path.
    QString path = address;
    if (path.startsWith(QLatin1String("file://")))
        return QUrl(path).toLocalFile();
    if (path.startsWith(QLatin1String("file:")))
        path = path.mid(5);
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

QString unescapeHtml(QString text)
{
    text.replace(QLatin1String("&quot;"), QLatin1String("\""));
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&#39;"), QLatin1String("'"));
    text.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return text;
}

} // namespace

bool ReadHomePage(const QString &frameUrl, MapPropertyBag &bag)
{
    const QString framePath = localPath(frameUrl);
    const QString frame = ReadTextFile(framePath);
    if (frame.isEmpty())
        return false;
    // The source quoted with " or ' (a title may put spaces and the other quote in it), or bare.
    static const QRegularExpression source(
        QStringLiteral("<i?frame\\b[^>]*\\bsrc\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = source.match(frame);
    if (!m.hasMatch())
        return false;
    QString name;
    for (int i = 1; i <= 3 && name.isNull(); ++i)
        name = m.captured(i);
    const QString planner = ReadTextFile(QFileInfo(framePath).dir().filePath(unescapeHtml(name)));
    if (planner.isEmpty())
        return false;
    // A value is quoted with " or ', and may hold the other quote (a title with an apostrophe).
    static const QRegularExpression param(
        QStringLiteral("<param\\b[^>]*\\bname\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)')[^>]*"
                       "\\bvalue\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)')"),
        QRegularExpression::CaseInsensitiveOption);
    QVariantMap values;
    for (auto it = param.globalMatch(planner); it.hasNext();) {
        const QRegularExpressionMatch p = it.next();
        const QString name = p.captured(1).isNull() ? p.captured(2) : p.captured(1);
        const QString value = p.captured(3).isNull() ? p.captured(4) : p.captured(3);
        values.insert(unescapeHtml(name), unescapeHtml(value));
    }
    bag = MapPropertyBag(values);
    return true;
}
