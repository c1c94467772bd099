// What the module keeps of each printer for the life of the process: the printer's
// settings cache and its single-feed choice, one entry per printer name, and the other
// spellings callers use for a printer (its share name, a server-qualified name), each
// remembered once it has been resolved to the printer's name. A process (an application
// listing several card printers, the printer folder, the spooler) serves many printers on
// many threads, and every application asks for a printer's record before every print:
// lookups take the table's lock shared, so readers never wait for each other, and only a
// change takes it exclusively. Nothing is allocated or freed while the lock is held: new
// entries are made before it is taken and dropped ones freed after it is released. The
// table holds a bounded number of printers: the one used least recently is dropped when a
// new printer needs room.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <string_view>

#include "driver/settings/private_settings.h"
#include "driver/settings/table_lock.h"

namespace qf {

// One printer's entry.
struct PrinterRecords {
    // The last private block committed for this printer (valid while its signature is the
    // settings signature; zero until first filled).
    PrivateSettings settingsCache{};
    // The Single Feed dialog's choice: 1 enable, 0 disable.
    uint8_t singleFeedChoice = 1;
};

// What a held-record copy found.
struct HeldCopy {
    bool copied = false;   // the printer's entry held a valid cache, now in the output
    bool offline = false;  // that cache was in the offline configuration (manualRibbon set)
};

class PrinterRecordTable {
public:
    static constexpr size_t kDefaultCapacity = 64;

    explicit PrinterRecordTable(size_t capacity = kDefaultCapacity);
    PrinterRecordTable(const PrinterRecordTable&) = delete;
    PrinterRecordTable& operator=(const PrinterRecordTable&) = delete;

    // Runs `change` on the entry of `printer` (a name or a remembered spelling) under the
    // table's lock and returns what it returns. A printer without an entry gets a fresh one
    // first (a zero settings cache, single feed enabled); only that can fail
    // (std::bad_alloc, the table unchanged). `change` works on the entry only: it never
    // calls the spooler, a window or anything else that could wait. An empty name has no
    // entry: `change` then runs on a fresh entry that is thrown away.
    template <typename Change>
    auto Update(std::u16string_view printer, Change&& change) {
        printer = UpToFirstZero(printer);
        if (printer.empty()) {
            PrinterRecords scratch{};
            return change(scratch);
        }
        {
            const StripedHold hold(lock_);
            if (Entry* entry = FindLocked(printer)) return change(Used(*entry).records);
        }
        // The entry is made outside the lock; another thread may have made one meanwhile.
        std::list<Entry> made, dropped;
        made.emplace_back(printer);
        const StripedHold hold(lock_);
        if (Entry* entry = FindLocked(printer)) return change(Used(*entry).records);
        return change(Used(AddLocked(made, dropped)).records);
    }

    // Runs `change` on the entry of `printer` when it has one; allocates nothing and so
    // cannot fail. True when there was an entry.
    template <typename Change>
    bool UpdateExisting(std::u16string_view printer, Change&& change) {
        printer = UpToFirstZero(printer);
        const StripedHold hold(lock_);
        Entry* entry = printer.empty() ? nullptr : FindLocked(printer);
        if (entry) change(Used(*entry).records);
        return entry != nullptr;
    }

    // A copy of the entry of `printer`, or a fresh entry when it has none; no entry is made.
    // A read is a use: the entry becomes the most recently used, so a printer that is only
    // read (an application asking for its records) is not the first to be dropped.
    PrinterRecords Read(std::u16string_view printer) const;

    // The held-record path: when `printer` (a name or a remembered spelling) has an entry
    // whose settings cache is valid, copies the cache into `privateBlock` (3856 bytes) under
    // the shared lock and reports it; otherwise writes nothing. Allocates nothing.
    HeldCopy CopyHeldSettings(std::u16string_view printer, void* privateBlock) const;

    // Remembers that callers reach the printer `name` by `spelling` (a share name, a
    // server-qualified name), so that later calls with that spelling find its entry
    // without asking the spooler. Nothing to remember when the two are the same name; a
    // spelling already remembered for another printer now names this one. Throws
    // std::bad_alloc when the spelling cannot be kept; the table is then unchanged.
    void RememberSpelling(std::u16string_view spelling, std::u16string_view name);

    // Forgets the printer `printer` names (its entry and every spelling of it), as when
    // the printer is deleted or a new printer is set up under the name. Allocates nothing.
    void Forget(std::u16string_view printer);

    // How many printers have an entry; drops every entry and spelling.
    size_t Size() const;
    void Clear();

    // A name ends at its first zero, as a wide string the spooler hands over does.
    static std::u16string_view UpToFirstZero(std::u16string_view printer);
    // Printer names are compared as the spooler compares them: letters A to Z without
    // regard to case.
    static bool SameName(std::u16string_view kept, std::u16string_view printer);

private:
    struct Entry {
        explicit Entry(std::u16string_view printer) : name(printer) {}
        std::u16string name;
        PrinterRecords records;
        // When the entry was last used, on the table's clock: a change moves the clock on
        // and marks its entry; a reader under the shared lock marks the entry with the
        // clock's time only when the mark is older, so that readers do not keep writing
        // the same memory. The entry with the oldest mark makes room.
        mutable std::atomic<uint64_t> lastUse{0};
    };
    struct Spelling {
        std::u16string spelling;
        std::u16string name;
    };

    // A read (shared lock) and a change (lock held alone) of an entry.
    const Entry& MarkRead(const Entry& entry) const;
    Entry& Used(Entry& entry);
    // The entry `printer` names, by its own name or a remembered spelling, or nullptr.
    const Entry* FindLocked(std::u16string_view printer) const;
    Entry* FindLocked(std::u16string_view printer);
    // Moves the one entry of `made` into the table; an entry dropped to make room goes to
    // `dropped`, to be freed after the lock is released.
    Entry& AddLocked(std::list<Entry>& made, std::list<Entry>& dropped);

    mutable StripedTableLock lock_;
    size_t capacity_;
    mutable std::atomic<uint64_t> clock_{0};
    std::list<Entry> entries_;
    // Most recently remembered first; bounded like the entries.
    std::list<Spelling> spellings_;
};

}  // namespace qf
