// The table of the property sheets open in this process. A sheet is known by a number
// handed out when it opens and never handed out again (until the counter wraps after
// 2^32 openings), not by its address: a sheet that was closed cannot be mistaken for a
// later sheet that the heap happened to place at the same address. Sheets of every kind
// share one run of numbers, so a number names one sheet of one kind. The table is
// guarded by one lock, held only while it is read or changed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>

#include "driver/settings/table_lock.h"

namespace qf {

class LiveSheets {
public:
    // Registers `sheet` of kind `kind` and returns its number (never 0). Throws
    // std::bad_alloc when the table cannot grow; the sheet is then not registered.
    uint32_t Add(int kind, void* sheet);

    // Forgets the sheet of number `id`.
    void Remove(uint32_t id);

    // The live sheet of number `id` when it is of kind `kind`, else nullptr. The sheet
    // itself is used outside the lock: a sheet is used and closed only on its own window
    // thread.
    void* Find(uint32_t id, int kind) const;

    size_t Size() const;

private:
    struct Entry {
        int kind;
        void* sheet;
    };
    mutable TableLock lock_;
    uint32_t last_ = 0;
    std::unordered_map<uint32_t, Entry> live_;
};

}  // namespace qf
