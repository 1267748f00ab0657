#include "import.h"

#include "calendarstore.h"
#include "fileerror.h"
#include "icaltext_p.h"
#include "qverror.h"
#include "sessiondata_p.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

namespace Store {

namespace {

// The item file of each UID the folder holds, from the files' text: no item is parsed and kept.
// The files that hold several go to shared.
QHash<QString, QString> filesByUid(const FolderData &data, QSet<QString> &shared)
{
    QHash<QString, QString> files;
    if (CalendarSource *source = data.source()) {
        // A calendar of a service keeps one event a key.
        try {
            for (const CalendarSource::Object &o : source->objects())
                files.insert(o.uid, ObjectKey(o.uid));
        } catch (const QvError &) {
            // Every event is then new here: the service adds or replaces by UID all the same.
        }
        return files;
    }
    for (const QString &name : data.listItemFiles()) {
        QFile f(data.path + QLatin1Char('/') + name);
        if (f.size() > IcalText::kMaxItemBytes || !f.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> uids = IcalText::Uids(f.readAll());
        for (const QByteArray &uid : uids)
            files.insert(QString::fromUtf8(uid), name);
        if (uids.size() > 1)
            shared.insert(name);
    }
    return files;
}

// The calendar's items as they are read, handed from the thread that reads them to the one that
// writes them. Reading (splitting, parsing, placing the times in zones) is about half the work:
// on a second core it runs while the files are written. Only the reader touches time zones.
// An item as the reader hands it over: its text, so that the writer frees nothing the reader
// allocated piece by piece (a free across threads contends for the reader's heap).
struct ReadItem
{
    QString uid;
    QByteArray text;
};

class ItemQueue
{
public:
    // Waits while the queue is full. False once the writer has stopped.
    bool push(ReadItem item)
    {
        std::unique_lock lock(m_mutex);
        m_room.wait(lock, [this] { return m_items.size() < kDepth || m_stopped; });
        if (m_stopped)
            return false;
        m_items.push_back(std::move(item));
        // Woken in batches, not at every item: a wake-up costs more than an item's handing over.
        if (m_items.size() == kBatch)
            m_ready.notify_one();
        return true;
    }
    void finish()
    {
        std::lock_guard lock(m_mutex);
        m_finished = true;
        m_ready.notify_one();
    }
    // The next item; none when the reader has finished and all are taken.
    std::optional<ReadItem> pop()
    {
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [this] { return !m_items.empty() || m_finished; });
        if (m_items.empty())
            return std::nullopt;
        ReadItem item = std::move(m_items.front());
        m_items.pop_front();
        if (m_items.size() == kDepth - kBatch)
            m_room.notify_one();
        return item;
    }
    // The writer stops early (a write failed): the reader leaves off at its next item.
    void stop()
    {
        std::lock_guard lock(m_mutex);
        m_stopped = true;
        m_items.clear();
        m_room.notify_one();
    }

private:
    static constexpr size_t kDepth = 512;
    static constexpr size_t kBatch = 64;
    std::mutex m_mutex;
    std::condition_variable m_ready, m_room;
    std::deque<ReadItem> m_items;
    bool m_finished = false;
    bool m_stopped = false;
};

struct Stopped
{
};

} // namespace

ImportResult ImportCalendar(Folder &folder, const QByteArray &text)
{
    ImportResult result;
    FolderData &data = *folder.data();
    QSet<QString> shared;
    QHash<QString, QString> fileOfUid = filesByUid(data, shared);
    ItemQueue queue;
    std::exception_ptr readFailed;
    std::thread reader([&] {
        try {
            IcalItem::splitEach(
                text,
                [&](std::unique_ptr<IcalItem> item) {
                    if (QString zone; !item->anchorFloatingTimes(&zone))
                        result.problems.append(
                            QStringLiteral("%1: the calendar's zone \"%2\" is not known here, "
                                           "its times are local")
                                .arg(item->uid(), zone));
                    if (!queue.push({item->uid(), item->serialize()}))
                        throw Stopped();
                },
                &result.problems);
        } catch (const Stopped &) {
        } catch (...) {
            readFailed = std::current_exception();
        }
        queue.finish();
    });
    // The reader alone adds problems until it has finished.
    try {
        while (std::optional<ReadItem> item = queue.pop()) {
            QString name = fileOfUid.value(item->uid);
            if (name.isEmpty()) {
                name = data.newFileName(item->uid);
                fileOfUid.insert(item->uid, name);
                ++result.added;
            } else {
                ++result.updated;
            }
            if (!shared.contains(name)) {
                data.writeBatchText(name, item->text);
                continue;
            }
            // An event of a file of several moves out of it; the rest of the file stays.
            QString problem;
            const std::unique_ptr<IcalItem> parsed = IcalItem::parse(item->text, &problem);
            if (!parsed)
                throw QvError(FileError::PathFileAccessError,
                              QCoreApplication::translate("Calendar store",
                                                          "The item %1 could not be read back: %2")
                                  .arg(item->uid, problem),
                              QStringLiteral("Calendar store"));
            fileOfUid.insert(item->uid, data.writeItem(name, *parsed, FolderData::Write::One));
        }
    } catch (...) {
        queue.stop();
        reader.join();
        throw;
    }
    reader.join();
    if (readFailed)
        std::rethrow_exception(readFailed);
    if (result.added + result.updated > 0 && !data.syncFiles())
        throw QvError(FileError::DeviceUnavailable,
                      QCoreApplication::translate(
                          "Calendar store", "The imported items could not be stored on the disk"),
                      QStringLiteral("Calendar store"));
    return result;
}

} // namespace Store
