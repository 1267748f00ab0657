#include "directorywatcher_p.h"

#include <QFile>
#include <QSocketNotifier>

#include <sys/inotify.h>
#include <unistd.h>

namespace Store {

DirectoryWatcher::DirectoryWatcher(const QString &path, QObject *parent) : QObject(parent)
{
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0) {
        qWarning("%s: cannot watch for changes", qPrintable(path));
        return;
    }
    m_watch =
        ::inotify_add_watch(m_fd, QFile::encodeName(path).constData(),
                            IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_CLOSE_WRITE |
                                IN_MODIFY | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR);
    if (m_watch < 0)
        qWarning("%s: cannot watch for changes", qPrintable(path));
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &DirectoryWatcher::drain);
}

DirectoryWatcher::~DirectoryWatcher()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void DirectoryWatcher::drain()
{
    // Which file changed is found by comparing the listing: only "something did" is said.
    alignas(inotify_event) char buffer[16384];
    bool any = false;
    while (::read(m_fd, buffer, sizeof buffer) > 0)
        any = true;
    if (any)
        emit changed();
}

} // namespace Store
