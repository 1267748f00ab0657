#pragma once

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

#include <functional>

struct CacheRecord;

// Waits, serving events, until done() or the time is up; done() then.
bool WaitFor(const std::function<bool()> &done, int ms = 10000);

// Sets an environment variable for the life of the object, restoring the old value after.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const QByteArray &value); // empty value: unset
    ~ScopedEnv();

private:
    const char *m_name;
    QByteArray m_old;
    bool m_had;
};

// Points the per-user settings (QSettings, INI, user scope) at dir for the life of the object,
// then back at $XDG_CONFIG_HOME. The settings path is fixed at a process's first use of the
// settings: changing the variable afterwards moves nothing.
class ScopedSettingsHome
{
public:
    explicit ScopedSettingsHome(const QString &dir);
    ~ScopedSettingsHome();
};

// A small file system mounted at path (a directory that exists) and filled to the last byte,
// holding the files given; unmounted at the end. Mounting needs root: mounted() is false
// elsewhere, and the test should skip.
class FullFileSystem
{
public:
    FullFileSystem(const QString &path, const QMap<QString, QByteArray> &files = {});
    ~FullFileSystem();
    bool mounted() const { return m_mounted; }
    // The files on it but the filling.
    QMap<QString, QByteArray> files() const;

private:
    QString m_path;
    bool m_mounted = false;
};

// The locales people use, for tests of everything that writes or reads a date: their short
// forms have two-digit years (en_US, de_DE), four-digit ones in either order (en_GB, fr_FR,
// ja_JP), other digits and direction marks (ar_EG), and the plain C form.
QList<QByteArray> UserLocaleNames(); // "en_US.UTF-8", as LANG holds them
// The years where two-digit forms break: both sides of the old 1930..2029 window, and far ones.
QList<int> LocaleTestYears();

// Makes QLocale() the named locale ("de_DE.UTF-8") for the life of the object, then restores
// the previous default.
class ScopedLocale
{
public:
    explicit ScopedLocale(const QByteArray &name);
    ~ScopedLocale();

private:
    QLocale m_old;
};

// Installs a yield hook for the life of the object.
class ScopedYieldHook
{
public:
    explicit ScopedYieldHook(std::function<void()> hook);
    ~ScopedYieldHook();
};

// Kills the process pid at once. Refuses (false) 0 and negative numbers, which would signal a
// whole process group or every process, 1, and this process itself.
bool KillProcess(qint64 pid);

// Automation date of a local wall-clock time.
double At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0);

QByteArray ReadAll(const QString &path);
void WriteAll(const QString &path, const QByteArray &bytes);

// A calendar file of one event: uid, then lines (each ending in CR LF); a meeting request when
// meeting is set.
QByteArray Vevent(const QByteArray &uid, const QByteArray &lines, bool meeting = false);

// The cache file bytes of the records, as the cache writer lays them out.
QByteArray CacheBytes(const QList<CacheRecord> &records);

// Texts in test failures as text, not as lists of bytes.
#include <ostream>
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
