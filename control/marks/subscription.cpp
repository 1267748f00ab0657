#include "subscription.h"

#include "binaryfile.h"
#include "knowncalendars.h"
#include "vdirsyncerconfig.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QUrl>

using Store::VdirsyncerValue;

QString SubscriptionPairName(const QString &url)
{
    QString host;
    for (const QChar c : QUrl(url).host().toLower())
        host += c.isLetterOrNumber() && c.unicode() < 128 ? c : QLatin1Char('_');
    return QStringLiteral("quorvel_sub_") + host + QLatin1Char('_') +
           QString::fromLatin1(
               QCryptographicHash::hash(url.toUtf8(), QCryptographicHash::Sha1).toHex().left(8));
}

QString SubscriptionDirectory(const QString &url)
{
    return Store::SubscriptionsDirectory() + QLatin1Char('/') + SubscriptionPairName(url);
}

QString SubscriptionSections(const QString &url)
{
    const QString n = SubscriptionPairName(url);
    // The address's calendar is the one collection; nothing is ever written back to it.
    return QStringLiteral("[pair %1]\n"
                          "a = %2\n"
                          "b = %3\n"
                          "collections = null\n"
                          "conflict_resolution = \"b wins\"\n"
                          "\n"
                          "[storage %1_local]\n"
                          "type = \"filesystem\"\n"
                          "path = %4\n"
                          "fileext = \".ics\"\n"
                          "\n"
                          "[storage %1_remote]\n"
                          "type = \"http\"\n"
                          "url = %5\n")
        .arg(n, VdirsyncerValue(n + QStringLiteral("_local")),
             VdirsyncerValue(n + QStringLiteral("_remote")),
             VdirsyncerValue(SubscriptionDirectory(url)), VdirsyncerValue(url));
}

bool Subscribe(const QString &url, const QString &vdirsyncer, QString *error)
{
    const auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const QUrl address(url);
    if (!address.isValid() || address.host().isEmpty() ||
        (address.scheme() != QLatin1String("https") && address.scheme() != QLatin1String("http")))
        return fail(QCoreApplication::translate("DayMarks",
                                                "%1 is no web address of a calendar (https://...)")
                        .arg(url));
    if (vdirsyncer.isEmpty())
        return fail(QCoreApplication::translate(
            "DayMarks", "vdirsyncer is not installed: it fetches subscribed calendars "
                        "(Debian's package vdirsyncer)."));
    const QString config = Store::VdirsyncerConfigPath();
    const QString text = ReadTextFile(config);
    const QString n = SubscriptionPairName(url);
    const QString written = Store::WriteVdirsyncerConfig(
        config,
        Store::VdirsyncerConfigWith(text,
                                    {QStringLiteral("[pair ") + n + QLatin1Char(']'),
                                     QStringLiteral("[storage ") + n + QStringLiteral("_local]"),
                                     QStringLiteral("[storage ") + n + QStringLiteral("_remote]")},
                                    SubscriptionSections(url), Store::VdirsyncerStatusPath()));
    if (!written.isEmpty())
        return fail(written);
    // Discovery would ask before making the local collection: it is there.
    QDir().mkpath(SubscriptionDirectory(url));
    for (const QString &step : {QStringLiteral("discover"), QStringLiteral("sync")}) {
        const Store::VdirsyncerRun run = Store::RunVdirsyncer(vdirsyncer, config, {step, n});
        if (!run.started)
            return fail(QCoreApplication::translate("DayMarks", "%1 cannot be run: %2")
                            .arg(vdirsyncer, run.startError));
        if (!run.succeeded) {
            const QStringList lines =
                run.output.trimmed().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            return fail(
                QCoreApplication::translate("DayMarks", "vdirsyncer could not fetch %1: %2")
                    .arg(url, lines.isEmpty() ? QStringLiteral("it failed") : lines.last()));
        }
    }
    return true;
}
