#include "cacherecordpipe_p.h"

#include "qverror.h"

#include <new>

CacheRecordPipe::CacheRecordPipe(BinaryFile &file) : m_reader([this, &file] { read(file); }) {}

CacheRecordPipe::~CacheRecordPipe()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_room.notify_all();
    m_reader.join();
}

std::vector<CacheRecord> CacheRecordPipe::next()
{
    std::unique_lock lock(m_mutex);
    m_ready.wait(lock, [this] { return !m_batches.empty() || m_done; });
    if (m_batches.empty())
        return {};
    std::vector<CacheRecord> batch = std::move(m_batches.front());
    m_batches.pop_front();
    m_room.notify_one();
    return batch;
}

bool CacheRecordPipe::hand(std::vector<CacheRecord> &batch)
{
    std::unique_lock lock(m_mutex);
    m_room.wait(lock, [this] { return m_batches.size() < kBatchesAhead || m_stopping; });
    if (m_stopping)
        return false;
    m_batches.push_back(std::move(batch));
    batch = {};
    m_ready.notify_one();
    return true;
}

void CacheRecordPipe::read(BinaryFile &file)
{
    int errorNumber = 0;
    QString errorDescription;
    try {
        CacheRecordReader reader(file);
        CacheTextPool pool;
        std::vector<CacheRecord> batch;
        batch.reserve(kBatch);
        bool more = true;
        while (more && !reader.atEnd()) {
            CacheRecord record;
            if (reader.read(record, pool)) {
                batch.push_back(std::move(record));
            } else {
                errorNumber = reader.errorNumber();
                errorDescription = reader.errorDescription();
                break;
            }
            if (batch.size() == kBatch) {
                more = hand(batch);
                batch.reserve(kBatch);
            }
        }
        if (more && !batch.empty())
            hand(batch);
    } catch (const std::bad_alloc &) {
        errorNumber = int(ErrorCode::OutOfMemory);
        errorDescription = ErrorDescription(errorNumber);
    }
    std::lock_guard lock(m_mutex);
    m_errorNumber = errorNumber;
    m_errorDescription = errorDescription;
    m_done = true;
    m_ready.notify_one();
}
