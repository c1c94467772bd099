// The lock of the module-wide tables (the per-printer table, the live-sheet table). In the
// module it is a slim reader/writer lock: readers share it, a change holds it alone. It
// needs no allocation, so taking it cannot fail, whatever the memory left; a lock whose
// first use allocates could leave a half-opened window holding memory nobody frees. The
// native build, its tests and ThreadSanitizer use the standard shared mutex.
#pragma once

#include <cstdint>

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

// The lock of a table every thread of a process reads on every print (the per-printer
// table): one lock per stripe, each on a cache line of its own. A reader takes one stripe
// shared, chosen by where its stack lies, so that readers on different threads seldom
// write the same memory and never wait for each other; a change takes every stripe, in
// order, alone. The stripe a reader took is the one it gives back.
class StripedTableLock {
public:
    static constexpr unsigned kStripes = 8;

    StripedTableLock() = default;
    StripedTableLock(const StripedTableLock&) = delete;
    StripedTableLock& operator=(const StripedTableLock&) = delete;
    void lock() {
        for (Stripe& stripe : stripes_) stripe.lock.lock();
    }
    void unlock() {
        for (unsigned i = kStripes; i-- > 0;) stripes_[i].lock.unlock();
    }
    unsigned lock_shared() {
        const unsigned stripe = CallerStripe();
        stripes_[stripe].lock.lock_shared();
        return stripe;
    }
    void unlock_shared(unsigned stripe) { stripes_[stripe].lock.unlock_shared(); }

private:
    // The stripe of the calling thread: a hash of the page its stack is on, which stays
    // the same across a thread's calls from one place and differs between threads.
    static unsigned CallerStripe() {
        const char here = 0;
        const uint64_t page = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(&here)) >> 12;
        return static_cast<unsigned>((page * 0x9E3779B97F4A7C15ull) >> 61);
    }
    struct alignas(64) Stripe {
        TableLock lock;
    };
    static_assert(kStripes == 8, "the hash picks one of eight stripes");
    Stripe stripes_[kStripes];
};

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

// The same for a striped lock: one stripe shared, or every stripe alone.
class StripedSharedHold {
public:
    explicit StripedSharedHold(StripedTableLock& lock) : lock_(lock), stripe_(lock.lock_shared()) {}
    ~StripedSharedHold() { lock_.unlock_shared(stripe_); }
    StripedSharedHold(const StripedSharedHold&) = delete;
    StripedSharedHold& operator=(const StripedSharedHold&) = delete;

private:
    StripedTableLock& lock_;
    unsigned stripe_;
};
class StripedHold {
public:
    explicit StripedHold(StripedTableLock& lock) : lock_(lock) { lock_.lock(); }
    ~StripedHold() { lock_.unlock(); }
    StripedHold(const StripedHold&) = delete;
    StripedHold& operator=(const StripedHold&) = delete;

private:
    StripedTableLock& lock_;
};

}  // namespace qf
