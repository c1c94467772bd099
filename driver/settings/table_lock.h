// The lock of the module-wide tables (the per-printer table, the live-sheet table). In the
// module it is a slim reader/writer lock: readers share it, a change holds it alone. It
// needs no allocation, so taking it cannot fail, whatever the memory left; a lock whose
// first use allocates could leave a half-opened window holding memory nobody frees. The
// native build, its tests and ThreadSanitizer use the standard shared mutex.
#pragma once

#if defined(_WIN32)
#include <windows.h>
#else
#include <shared_mutex>
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
    void lock_shared() { AcquireSRWLockShared(&lock_); }
    void unlock_shared() { ReleaseSRWLockShared(&lock_); }

private:
    SRWLOCK lock_ = SRWLOCK_INIT;
};
#else
using TableLock = std::shared_mutex;
#endif

// Holds a table's lock alone, for a change, for the life of the scope.
class TableHold {
public:
    explicit TableHold(TableLock& lock) : lock_(lock) { lock_.lock(); }
    ~TableHold() { lock_.unlock(); }
    TableHold(const TableHold&) = delete;
    TableHold& operator=(const TableHold&) = delete;

private:
    TableLock& lock_;
};

// Holds a table's lock shared, for a lookup, for the life of the scope.
class SharedTableHold {
public:
    explicit SharedTableHold(TableLock& lock) : lock_(lock) { lock_.lock_shared(); }
    ~SharedTableHold() { lock_.unlock_shared(); }
    SharedTableHold(const SharedTableHold&) = delete;
    SharedTableHold& operator=(const SharedTableHold&) = delete;

private:
    TableLock& lock_;
};

}  // namespace qf
