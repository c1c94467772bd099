// The lock of the module-wide tables (the per-printer table, the live-sheet table). In the
// module it is a slim reader/writer lock used exclusively: it needs no allocation, so
// taking it cannot fail, whatever the memory left; a lock whose first use allocates could
// leave a half-opened window holding memory nobody frees. The native build, its tests and
// ThreadSanitizer use the standard mutex.
#pragma once

#if defined(_WIN32)
#include <windows.h>
#else
#include <mutex>
#endif

namespace qf {

#if defined(_WIN32)
class TableLock {
public:
    TableLock() = default;
    TableLock(const TableLock&) = delete;
    TableLock& operator=(const TableLock&) = delete;
    void lock() { AcquireSRWLockExclusive(&lock_); }
    void unlock() { ReleaseSRWLockExclusive(&lock_); }

private:
    SRWLOCK lock_ = SRWLOCK_INIT;
};
#else
using TableLock = std::mutex;
#endif

// Holds a table's lock for the life of the scope.
class TableHold {
public:
    explicit TableHold(TableLock& lock) : lock_(lock) { lock_.lock(); }
    ~TableHold() { lock_.unlock(); }
    TableHold(const TableHold&) = delete;
    TableHold& operator=(const TableHold&) = delete;

private:
    TableLock& lock_;
};

}  // namespace qf
