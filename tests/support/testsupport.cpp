#include "testsupport.h"

#include "cacherecord.h"
#include "oadate.h"
#include "yield.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>

#include <csignal>
#include <cstdlib>
#include <unistd.h>

ScopedEnv::ScopedEnv(const char *name, const QByteArray &value)
    : m_name(name), m_old(qgetenv(name)), m_had(qEnvironmentVariableIsSet(name))
{
    if (value.isEmpty())
        qunsetenv(name);
    else
        qputenv(name, value);
}

ScopedEnv::~ScopedEnv()
{
    if (m_had)
        qputenv(m_name, m_old);
    else
        qunsetenv(m_name);
}

QList<QByteArray> UserLocaleNames()
{
    return {"C.UTF-8",     "en_US.UTF-8", "de_DE.UTF-8", "en_GB.UTF-8",
            "fr_FR.UTF-8", "ja_JP.UTF-8", "ar_EG.UTF-8"};
}

QList<int> LocaleTestYears()
{
    return {1999, 2029, 2030, 2031, 2069, 2100};
}

ScopedLocale::ScopedLocale(const QByteArray &name)
{
    const QByteArray bare = name.left(name.indexOf('.'));
    QLocale::setDefault(bare == "C" ? QLocale::c() : QLocale(QString::fromLatin1(bare)));
}

ScopedLocale::~ScopedLocale()
{
    QLocale::setDefault(m_old);
}

ScopedYieldHook::ScopedYieldHook(std::function<void()> hook)
{
    SetYieldHook(std::move(hook));
}

ScopedYieldHook::~ScopedYieldHook()
{
    SetYieldHook({});
}

double At(int y, int mo, int d, int h, int mi, int s)
{
    return OADate::fromDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void WriteAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    f.write(bytes);
}

QByteArray Vevent(const QByteArray &uid, const QByteArray &lines, bool meeting)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n" +
           QByteArray(meeting ? "METHOD:REQUEST\r\n" : "") + "BEGIN:VEVENT\r\nUID:" + uid + "\r\n" +
           lines + "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

QByteArray CacheBytes(const QList<CacheRecord> &records)
{
    QByteArray out;
    for (const CacheRecord &r : records)
        AppendCacheRecord(out, r.EventID, r.Subject, r.Categories, r.StartDate, r.EndDate);
    return out;
}

bool KillProcess(qint64 pid)
{
    if (pid <= 1 || pid == qint64(getpid()))
        return false;
    return ::kill(pid_t(pid), SIGKILL) == 0;
}

FullFileSystem::FullFileSystem(const QString &path, const QMap<QString, QByteArray> &files)
    : m_path(path)
{
    m_mounted = ::geteuid() == 0 &&
                // Private, as a cache directory must be (a tmpfs is open to all by default).
                QProcess::execute("mount",
                                  {"-t", "tmpfs", "-o", "size=256k,mode=0700", "tmpfs", path}) == 0;
    if (!m_mounted)
        return;
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        WriteAll(path + '/' + it.key(), it.value());
    QFile fill(path + "/.fill");
    if (fill.open(QIODevice::WriteOnly)) {
        const QByteArray block(4096, 'f');
        while (fill.write(block) > 0 && fill.flush()) {
        }
        while (fill.write("f", 1) > 0 && fill.flush()) { // the last partial block
        }
    }
}

FullFileSystem::~FullFileSystem()
{
    if (m_mounted)
        QProcess::execute("umount", {m_path});
}

QMap<QString, QByteArray> FullFileSystem::files() const
{
    QMap<QString, QByteArray> out;
    for (const QString &name : QDir(m_path).entryList(QDir::Files | QDir::Hidden))
        if (name != ".fill")
            out.insert(name, ReadAll(m_path + '/' + name));
    return out;
}

ScopedSettingsHome::ScopedSettingsHome(const QString &dir)
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir);
}

ScopedSettingsHome::~ScopedSettingsHome()
{
    QSettings::setPath(
        QSettings::IniFormat, QSettings::UserScope,
        qEnvironmentVariable("XDG_CONFIG_HOME", QDir::homePath() + QStringLiteral("/.config")));
}

bool WaitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}
