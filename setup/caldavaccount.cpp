#include "caldavaccount.h"

#include "binaryfile.h"
#include "fileerror.h"
#include "filereplacement.h"
#include "knowncalendars.h"
#include "vdirsyncerconfig.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

namespace {

using Store::VdirsyncerValue;

QString Json(const QString &text)
{
    return VdirsyncerValue(text);
}

QString Json(const QStringList &list)
{
    return VdirsyncerValue(list);
}

QString Cleaned(const QString &text)
{
    QString out;
    for (const QChar c : text.toLower())
        out += c.isLetterOrNumber() && c.unicode() < 128 ? c : QLatin1Char('_');
    return out;
}

QString DataHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

} // namespace

QString CalDavAccount::legacyName() const
{
    const QUrl u(url);
    return QStringLiteral("quorvel_") + Cleaned(u.host()) + QLatin1Char('_') + Cleaned(user);
}

QString CalDavAccount::name() const
{
    // "ana.b", "ana_b" and "Ana_B" clean to one name: a user name that cleaning changes carries
    // a digest of itself, so two accounts never share sections or a directory.
    static const QRegularExpression plain(QStringLiteral("^[a-z0-9]*$"));
    if (plain.match(user).hasMatch())
        return legacyName();
    return legacyName() + QLatin1Char('_') +
           QString::fromLatin1(
               QCryptographicHash::hash(user.toUtf8(), QCryptographicHash::Sha1).toHex().left(8));
}

QString CalDavAccount::collectionsPath() const
{
    return localPath.isEmpty() ? DataHome() + QStringLiteral("/quorvel/caldav/") + name()
                               : QDir(localPath).absolutePath();
}

QStringList CalDavAccount::passwordFetch() const
{
    if (!passwordCommand.trimmed().isEmpty())
        return {QStringLiteral("shell"), passwordCommand};
    return {QStringLiteral("command"),
            QStringLiteral("secret-tool"),
            QStringLiteral("lookup"),
            QStringLiteral("service"),
            QStringLiteral("quorvel-caldav"),
            QStringLiteral("url"),
            url,
            QStringLiteral("user"),
            user};
}

QString AccountSections(const CalDavAccount &account, const QStringList &mergeCommand)
{
    const QString n = account.name();
    const QString conflict = mergeCommand.isEmpty()
                                 ? Json(QStringLiteral("b wins"))
                                 : Json(QStringList{QStringLiteral("command")} + mergeCommand);
    return QStringLiteral("[pair %1]\n"
                          "a = %2\n"
                          "b = %3\n"
                          "collections = [\"from a\", \"from b\"]\n"
                          "metadata = [\"displayname\", \"color\"]\n"
                          "conflict_resolution = %4\n"
                          "\n"
                          "[storage %1_local]\n"
                          "type = \"filesystem\"\n"
                          "path = %5\n"
                          "fileext = \".ics\"\n"
                          "\n"
                          "[storage %1_remote]\n"
                          "type = \"caldav\"\n"
                          "url = %6\n"
                          "username = %7\n"
                          "password.fetch = %8\n")
        .arg(n, Json(n + QStringLiteral("_local")), Json(n + QStringLiteral("_remote")), conflict,
             Json(account.collectionsPath()), Json(account.url), Json(account.user),
             Json(account.passwordFetch()));
}

QString ConfigWithAccount(const QString &config, const CalDavAccount &account,
                          const QString &sections, const QString &statusPath)
{
    const auto sectionsNamed = [](const QString &n) {
        return QStringList{QStringLiteral("[pair ") + n + QLatin1Char(']'),
                           QStringLiteral("[storage ") + n + QStringLiteral("_local]"),
                           QStringLiteral("[storage ") + n + QStringLiteral("_remote]")};
    };
    const QStringList existing = Store::VdirsyncerSections(config);
    QStringList own = sectionsNamed(account.name());
    // The same account connected under the name it had before names were made unique: its old
    // sections go, the directory they named stays where it is.
    const QString legacy = account.legacyName();
    const QString remote = QStringLiteral("[storage ") + legacy + QStringLiteral("_remote]");
    for (const QString &section : existing) {
        if (legacy != account.name() && Store::VdirsyncerSectionHeader(section) == remote &&
            section.contains(QStringLiteral("\nurl = ") + Json(account.url) + QLatin1Char('\n')) &&
            section.contains(QStringLiteral("\nusername = ") + Json(account.user) +
                             QLatin1Char('\n')))
            own += sectionsNamed(legacy);
    }
    return Store::VdirsyncerConfigWith(config, own, sections, statusPath);
}

QString VdirsyncerProblem(const QString &output, const CalDavAccount &account)
{
    const struct
    {
        const char *pattern;
        QString words;
    } known[] = {
        {"401|Unauthorized|403|Forbidden",
         QCoreApplication::translate("CalDavConnection",
                                     "The server refused the user name or password of %1.")
             .arg(account.user)},
        {"Failed to execute command|secret-tool",
         QCoreApplication::translate(
             "CalDavConnection",
             "The password could not be read: the command that gives it failed.")},
        {"Connection refused|Cannot connect|Name or service not known|No address associated|"
         "Temporary failure in name resolution|ClientConnectorError",
         QCoreApplication::translate("CalDavConnection", "The server at %1 cannot be reached.")
             .arg(account.url)},
        {"404|Not Found",
         QCoreApplication::translate("CalDavConnection", "There is no calendar account at %1.")
             .arg(account.url)},
        {"certificate|SSL",
         QCoreApplication::translate("CalDavConnection",
                                     "The server's certificate for %1 is not trusted.")
             .arg(account.url)},
    };
    for (const auto &k : known) {
        if (output.contains(QRegularExpression(QString::fromLatin1(k.pattern))))
            return k.words;
    }
    return QString();
}

QString SystemdQuoted(const QString &text, bool command)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"'))
            out += QLatin1Char('\\') + c;
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('%'))
            out += QLatin1String("%%");
        else if (c == QLatin1Char('$') && command)
            out += QLatin1String("$$");
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

QString SyncServiceUnit(const QString &vdirsyncer, const QString &config)
{
    return QStringLiteral("[Unit]\n"
                          "Description=Synchronise the calendars of Quorvel's CalDAV accounts\n"
                          "\n"
                          "[Service]\n"
                          "Type=oneshot\n"
                          "Environment=%1\n"
                          "ExecStart=%2 sync\n")
        .arg(SystemdQuoted(QStringLiteral("VDIRSYNCER_CONFIG=") + config, false),
             SystemdQuoted(vdirsyncer, true));
}

QString SyncTimerUnit()
{
    return QStringLiteral("[Unit]\n"
                          "Description=Synchronise Quorvel's CalDAV calendars every five minutes\n"
                          "\n"
                          "[Timer]\n"
                          "OnBootSec=1min\n"
                          "OnUnitActiveSec=5min\n"
                          "\n"
                          "[Install]\n"
                          "WantedBy=timers.target\n");
}

CalDavConnection::CalDavConnection(CalDavAccount account, Progress progress)
    : vdirsyncer(QStandardPaths::findExecutable(QStringLiteral("vdirsyncer"))),
      systemctl(QStandardPaths::findExecutable(QStringLiteral("systemctl"))),
      m_account(std::move(account)), m_progress(std::move(progress)),
      m_config(Store::VdirsyncerConfigPath())
{
}

bool CalDavConnection::collectionsAreOurs()
{
    const QString path = m_account.collectionsPath();
    const QString marker = path + QLatin1Char('/') + QLatin1String(kAccountMarker);
    const QString ours = m_account.url + QLatin1Char('\n') + m_account.user + QLatin1Char('\n');
    const QDir dir(path);
    if (dir.exists() && !dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden) &&
        ReadTextFile(marker) != ours && !useExistingCollections) {
        // Discovery would create every directory there as a calendar on the server.
        m_error = QCoreApplication::translate(
                      "CalDavConnection",
                      "%1 holds files already: connecting would upload them to the "
                      "server. Choose an empty directory for the account's calendars, "
                      "or ask for what is there to be uploaded.")
                      .arg(path);
        return false;
    }
    QDir().mkpath(path);
    if (const int error = ReplaceFile(marker, ours.toUtf8(), FileDurability::Stored,
                                      BinaryFile::Access::Private)) {
        m_error = QStringLiteral("%1 cannot be written: %2").arg(path, FileErrorDescription(error));
        return false;
    }
    return true;
}

bool CalDavConnection::writeConfig()
{
    const QString sections = AccountSections(m_account, mergeCommand);
    const QString text = ConfigWithAccount(ReadTextFile(m_config), m_account, sections,
                                           Store::VdirsyncerStatusPath());
    m_error = Store::WriteVdirsyncerConfig(m_config, text);
    if (!m_error.isEmpty())
        return false;
    m_progress(
        QCoreApplication::translate("CalDavConnection", "The account is in %1").arg(m_config));
    return true;
}

bool CalDavConnection::run(const QStringList &args, const QString &step)
{
    m_progress(step);
    const Store::VdirsyncerRun run = Store::RunVdirsyncer(
        vdirsyncer, m_config, args, [this](const QString &line) { m_progress("  " + line); });
    if (!run.started) {
        m_error = QCoreApplication::translate("CalDavConnection", "%1 cannot be run: %2")
                      .arg(vdirsyncer, run.startError);
        return false;
    }
    if (run.succeeded)
        return true;
    m_error = VdirsyncerProblem(run.output, m_account);
    if (m_error.isEmpty()) {
        const QStringList lines = run.output.trimmed().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        m_error =
            QCoreApplication::translate("CalDavConnection", "vdirsyncer could not %1: %2")
                .arg(args.value(0),
                     lines.isEmpty() ? QCoreApplication::translate("CalDavConnection", "it failed")
                                     : lines.last());
    }
    return false;
}

void CalDavConnection::installTimer()
{
    const QString how =
        QCoreApplication::translate(
            "CalDavConnection",
            "To keep the calendars current, run \"vdirsyncer -c %1 sync\" every few "
            "minutes (from cron, say).")
            .arg(m_config);
    const QString units = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                          QStringLiteral("/systemd/user");
    QDir().mkpath(units);
    const QString service = units + QStringLiteral("/quorvel-caldav-sync.service");
    const QString timer = units + QLatin1Char('/') + QLatin1String(kSyncTimerName);
    const auto write = [](const QString &unit, const QString &text) {
        return ReplaceFile(unit, text.toUtf8(), FileDurability::Stored,
                           BinaryFile::Access::Private);
    };
    if (write(service, SyncServiceUnit(vdirsyncer, m_config)) || write(timer, SyncTimerUnit())) {
        m_progress(QCoreApplication::translate("CalDavConnection",
                                               "The timer's units cannot be written to %1. ")
                       .arg(units) +
                   how);
        return;
    }
    if (systemctl.isEmpty()) {
        m_progress(QCoreApplication::translate("CalDavConnection", "systemd is not here. ") + how);
        return;
    }
    for (const QStringList &args :
         {QStringList{QStringLiteral("--user"), QStringLiteral("daemon-reload")},
          QStringList{QStringLiteral("--user"), QStringLiteral("enable"), QStringLiteral("--now"),
                      QLatin1String(kSyncTimerName)}}) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(systemctl, args);
        if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() != 0) {
            p.kill();
            m_progress(QCoreApplication::translate("CalDavConnection",
                                                   "The timer could not be started (%1). ")
                           .arg(QString::fromUtf8(p.readAll()).trimmed()) +
                       how);
            return;
        }
    }
    m_progress(QCoreApplication::translate(
                   "CalDavConnection", "The calendars are synchronised every five minutes (%1).")
                   .arg(QLatin1String(kSyncTimerName)));
}

bool CalDavConnection::connect()
{
    m_error.clear();
    if (vdirsyncer.isEmpty()) {
        m_error = QCoreApplication::translate(
            "CalDavConnection", "vdirsyncer is not installed: it keeps the calendars of a "
                                "CalDAV account (Debian's package vdirsyncer).");
        return false;
    }
    if (!QUrl(m_account.url).isValid() || QUrl(m_account.url).host().isEmpty() ||
        m_account.user.isEmpty()) {
        m_error = QCoreApplication::translate(
            "CalDavConnection", "A CalDAV account needs the server's address and a user name.");
        return false;
    }
    if (!collectionsAreOurs() || !writeConfig() ||
        !run({QStringLiteral("discover"), m_account.name()},
             QCoreApplication::translate("CalDavConnection",
                                         "Looking for the account's calendars at %1")
                 .arg(m_account.url)) ||
        !run({QStringLiteral("metasync"), m_account.name()},
             QCoreApplication::translate("CalDavConnection",
                                         "Reading the calendars' names and colours")) ||
        !run({QStringLiteral("sync"), m_account.name()},
             QCoreApplication::translate("CalDavConnection", "Synchronising the calendars into %1")
                 .arg(m_account.collectionsPath())))
        return false;
    installTimer();
    // The planner opens the account's calendar next, not the one it opened before.
    const std::optional<Store::KnownCalendar> first =
        Store::FirstCalendarUnder(Store::KnownCalendars(), m_account.collectionsPath());
    if (first && Store::RememberCalendar(first->path))
        m_progress(QCoreApplication::translate("CalDavConnection",
                                               "Quorvel opens the calendar \"%1\" next.")
                       .arg(first->displayName));
    return true;
}
