// What the module keeps of each printer for the life of the process: the printer's
// settings cache and its single-feed choice, one entry per printer name. A process (an
// application listing several card printers, the printer folder, the spooler) serves
// many printers on many threads, so the table is guarded by one lock, held only while an
// entry is read or changed, and holds a bounded number of printers: the one used least
// recently is dropped when a new printer needs room.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <utility>

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

class PrinterRecordTable {
public:
    static constexpr size_t kDefaultCapacity = 64;

    explicit PrinterRecordTable(size_t capacity = kDefaultCapacity);
    PrinterRecordTable(const PrinterRecordTable&) = delete;
    PrinterRecordTable& operator=(const PrinterRecordTable&) = delete;

    // Runs `change` on the entry of `printer` under the table's lock and returns what it
    // returns. A printer without an entry gets a fresh one first (a zero settings cache,
    // single feed enabled); only that can fail (std::bad_alloc, the table unchanged).
    // `change` works on the entry only: it never calls the spooler, a window or anything
    // else that could wait. An empty name has no entry: `change` then runs on a fresh
    // entry that is thrown away.
    template <typename Change>
    auto Update(std::u16string_view printer, Change&& change) {
        printer = UpToFirstZero(printer);
        if (printer.empty()) {
            PrinterRecords scratch{};
            return change(scratch);
        }
        const TableHold hold(lock_);
        PrinterRecords* entry = FindLocked(printer);
        return change(entry ? *entry : AddLocked(printer));
    }

    // Runs `change` on the entry of `printer` when it has one; allocates nothing and so
    // cannot fail. True when there was an entry.
    template <typename Change>
    bool UpdateExisting(std::u16string_view printer, Change&& change) {
        printer = UpToFirstZero(printer);
        const TableHold hold(lock_);
        PrinterRecords* entry = printer.empty() ? nullptr : FindLocked(printer);
        if (entry) change(*entry);
        return entry != nullptr;
    }

    // A copy of the entry of `printer`, or a fresh entry when it has none; no entry is made.
    // A read is a use: the entry becomes the most recently used, so a printer that is only
    // read (an application asking for its records) is not the first to be dropped.
    PrinterRecords Read(std::u16string_view printer);

    // How many printers have an entry; drops every entry.
    size_t Size() const;
    void Clear();

private:
    // A name ends at its first zero, as a wide string the spooler hands over does.
    static std::u16string_view UpToFirstZero(std::u16string_view printer);
    // Printer names are compared as the spooler compares them: letters A to Z without
    // regard to case.
    static bool SameName(const std::u16string& kept, std::u16string_view printer);
    // The entry of `printer`, made the most recently used, or nullptr.
    PrinterRecords* FindLocked(std::u16string_view printer);
    PrinterRecords& AddLocked(std::u16string_view printer);

    mutable TableLock lock_;
    size_t capacity_;
    // Most recently used first.
    std::list<std::pair<std::u16string, PrinterRecords>> entries_;
};

}  // namespace qf
