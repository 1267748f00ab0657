#pragma once

// Connecting a CalDAV account: a vdirsyncer pair for it in the user's vdirsyncer configuration,
// its collections discovered and synchronised into a directory of vdirs, and a systemd user
// timer that keeps them in step. The planner then finds them as it finds every calendar
// vdirsyncer keeps.

#include <QString>
#include <QStringList>

#include <functional>

struct CalDavAccount
{
    QString url;
    QString user;
    // A shell command that prints the password; empty: the desktop's secret store (secret-tool).
    QString passwordCommand;
    // Where the collections are kept; empty: $XDG_DATA_HOME/quorvel/caldav/<name>.
    QString localPath;

    // The account's name in the configuration: letters, digits and "_" of the host and user,
    // and a digest of the user name where those are not the user name itself.
    QString name() const;
    // The name before the digest was added, under which an older connection may be configured.
    QString legacyName() const;
    QString collectionsPath() const;
    QStringList passwordFetch() const;
};

// The configuration's sections of the account: its pair and its two storages. Conflicting
// changes of one item are settled by mergeCommand when given (it is called with the two
// versions' files and makes them one), else the server's version wins.
QString AccountSections(const CalDavAccount &account, const QStringList &mergeCommand);
// config with the account's sections in place of any it had (connecting again replaces them)
// and a [general] section naming statusPath where there is none.
QString ConfigWithAccount(const QString &config, const CalDavAccount &account,
                          const QString &sections, const QString &statusPath);
// What vdirsyncer's output says went wrong, in words; empty when it names nothing known.
QString VdirsyncerProblem(const QString &output, const CalDavAccount &account);

// text as one quoted word of a systemd unit: quotes, backslashes and line breaks escaped, "%"
// doubled (a specifier otherwise), and "$" doubled in a command (a variable otherwise).
QString SystemdQuoted(const QString &text, bool command);
// The systemd user units that synchronise every few minutes.
QString SyncServiceUnit(const QString &vdirsyncer, const QString &config);
QString SyncTimerUnit();
constexpr const char *kSyncTimerName = "quorvel-caldav-sync.timer";
// Beside an account's collections: the account that made the directory (its URL and user).
constexpr const char *kAccountMarker = ".quorvel-account";

// The connection, step by step, telling each through progress. Runs the real vdirsyncer.
class CalDavConnection
{
public:
    using Progress = std::function<void(const QString &line)>;
    CalDavConnection(CalDavAccount account, Progress progress);

    // The programs it runs; by default found on the path.
    QString vdirsyncer;
    QString systemctl;
    // Settles a conflict of two versions of an item (the category table merged by name).
    QStringList mergeCommand;
    // Connect over a collections directory that holds files already (uploading them); without
    // it such a directory is refused, unless an earlier connection of this account made it.
    bool useExistingCollections = false;

    // Writes the configuration, discovers, synchronises and installs the timer. False, with
    // error() saying why, when the account could not be connected; a timer that could not be
    // installed only says how to synchronise instead.
    bool connect();
    QString error() const { return m_error; }

private:
    bool collectionsAreOurs();
    bool writeConfig();
    bool run(const QStringList &args, const QString &step);
    void installTimer();

    CalDavAccount m_account;
    Progress m_progress;
    QString m_config;
    QString m_error;
};
