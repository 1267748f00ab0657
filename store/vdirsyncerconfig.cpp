#include "vdirsyncerconfig.h"

#include "binaryfile.h"
#include "fileerror.h"
#include "filereplacement.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>

namespace Store {

QString VdirsyncerValue(const QString &text)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact))
        .mid(1)
        .chopped(1);
}

QString VdirsyncerValue(const QStringList &list)
{
    return QString::fromUtf8(
        QJsonDocument(QJsonArray::fromStringList(list)).toJson(QJsonDocument::Compact));
}

QStringList VdirsyncerSections(const QString &config)
{
    QStringList out{QString()};
    for (const QString &line : config.split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QLatin1Char('[')))
            out.append(QString());
        out.last() += line + QLatin1Char('\n');
    }
    return out;
}

QString VdirsyncerSectionHeader(const QString &section)
{
    return section.section(QLatin1Char('\n'), 0, 0).trimmed().simplified();
}

QString VdirsyncerConfigWith(const QString &config, const QStringList &replaced,
                             const QString &sections, const QString &statusPath)
{
    QString kept;
    bool general = false;
    for (const QString &section : VdirsyncerSections(config)) {
        const QString header = VdirsyncerSectionHeader(section);
        if (replaced.contains(header))
            continue;
        general = general || header == QLatin1String("[general]");
        kept += section;
    }
    QStringList parts;
    if (!general)
        parts << QStringLiteral("[general]\nstatus_path = %1").arg(VdirsyncerValue(statusPath));
    if (!kept.trimmed().isEmpty())
        parts << kept.trimmed();
    parts << sections.trimmed();
    return parts.join(QStringLiteral("\n\n")) + QLatin1Char('\n');
}

QString SubscriptionsDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/quorvel/subscriptions");
}

QString VdirsyncerStatusPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/vdirsyncer/status/");
}

QString WriteVdirsyncerConfig(const QString &path, const QString &config)
{
    QDir().mkpath(QFileInfo(path).path());
    if (const int error =
            ReplaceFile(path, config.toUtf8(), FileDurability::Stored, BinaryFile::Access::Private))
        return QCoreApplication::translate("CalDavConnection",
                                           "The vdirsyncer configuration %1 cannot be written: %2")
            .arg(path, FileErrorDescription(error));
    return QString();
}

VdirsyncerRun RunVdirsyncer(const QString &program, const QString &config, const QStringList &args,
                            const std::function<void(const QString &line)> &progress)
{
    VdirsyncerRun run;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, QStringList{QStringLiteral("-c"), config} + args);
    if (!p.waitForStarted()) {
        run.startError = p.errorString();
        return run;
    }
    run.started = true;
    p.write(QByteArray("y\n").repeated(64));
    p.closeWriteChannel();
    // Its lines as they come, so a long first synchronisation shows that it moves.
    const auto pass = [&] {
        const QString more = QString::fromUtf8(p.readAll());
        if (progress)
            for (const QString &line : more.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
                progress(line.trimmed());
        run.output += more;
    };
    while (!p.waitForFinished(200) && p.state() != QProcess::NotRunning)
        pass();
    pass();
    run.succeeded = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return run;
}

} // namespace Store
