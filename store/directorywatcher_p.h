#pragma once

#include <QObject>
#include <QString>

class QSocketNotifier;

namespace Store {

// Says when anything in one directory changes: a file made, removed, renamed in or out, or
// written in place. One kernel watch for the directory and all its files, where watching each
// file would cost one each (and a user has only a few thousand).
class DirectoryWatcher : public QObject
{
    Q_OBJECT
public:
    DirectoryWatcher(const QString &path, QObject *parent);
    ~DirectoryWatcher() override;
    // False when the directory could not be watched (it is gone, or no watch was left).
    bool isWatching() const { return m_watch >= 0; }

signals:
    void changed();

private:
    void drain();

    int m_fd = -1;
    int m_watch = -1;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace Store
