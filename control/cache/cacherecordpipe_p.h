#pragma once

#include "cacherecord.h"

#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

class BinaryFile;

// The records of an open cache file, read and decoded on a thread of their own a few batches
// ahead of the caller, who places and keeps them meanwhile. Nobody else touches the file until
// the pipe is gone.
class CacheRecordPipe
{
public:
    explicit CacheRecordPipe(BinaryFile &file);
    // Stops the reading where it is.
    ~CacheRecordPipe();
    CacheRecordPipe(const CacheRecordPipe &) = delete;
    CacheRecordPipe &operator=(const CacheRecordPipe &) = delete;

    // The next records in file order; empty once the file is read to its end or to a record that
    // could not be read, which failed() then says.
    std::vector<CacheRecord> next();
    bool failed() const { return m_errorNumber != 0; }
    int errorNumber() const { return m_errorNumber; }
    QString errorDescription() const { return m_errorDescription; }

private:
    static constexpr size_t kBatch = 4096, kBatchesAhead = 4;
    void read(BinaryFile &file);
    // Hands a batch over; false when the pipe is being stopped.
    bool hand(std::vector<CacheRecord> &batch);

    std::mutex m_mutex;
    std::condition_variable m_ready, m_room;
    std::deque<std::vector<CacheRecord>> m_batches;
    bool m_done = false, m_stopping = false;
    int m_errorNumber = 0;
    QString m_errorDescription;
    std::thread m_reader; // last: it starts once everything above is there
};
