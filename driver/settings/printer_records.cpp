// The per-printer table.
#include "driver/settings/printer_records.h"

#include <algorithm>
#include <cstring>

#include "driver/settings/record_rules.h"

namespace qf {
namespace {

char16_t UpperCaseLetter(char16_t unit) { return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - u'a' + u'A') : unit; }

}  // namespace

PrinterRecordTable::PrinterRecordTable(size_t capacity) : capacity_(std::max<size_t>(capacity, 1)) {}

std::u16string_view PrinterRecordTable::UpToFirstZero(std::u16string_view printer) {
    const size_t end = printer.find(u'\0');
    return end == std::u16string_view::npos ? printer : printer.substr(0, end);
}

bool PrinterRecordTable::SameName(std::u16string_view kept, std::u16string_view printer) {
    if (kept.size() != printer.size()) return false;
    for (size_t i = 0; i < kept.size(); ++i)
        if (UpperCaseLetter(kept[i]) != UpperCaseLetter(printer[i])) return false;
    return true;
}

const PrinterRecordTable::Entry& PrinterRecordTable::MarkRead(const Entry& entry) const {
    const uint64_t now = clock_.load(std::memory_order_relaxed);
    if (entry.lastUse.load(std::memory_order_relaxed) < now) entry.lastUse.store(now, std::memory_order_relaxed);
    return entry;
}

PrinterRecordTable::Entry& PrinterRecordTable::Used(Entry& entry) {
    entry.lastUse.store(clock_.fetch_add(1, std::memory_order_relaxed) + 1, std::memory_order_relaxed);
    return entry;
}

const PrinterRecordTable::Entry* PrinterRecordTable::FindLocked(std::u16string_view printer) const {
    for (const Entry& entry : entries_)
        if (SameName(entry.name, printer)) return &entry;
    for (const Spelling& known : spellings_) {
        if (!SameName(known.spelling, printer)) continue;
        for (const Entry& entry : entries_)
            if (SameName(entry.name, known.name)) return &entry;
        return nullptr;
    }
    return nullptr;
}

PrinterRecordTable::Entry* PrinterRecordTable::FindLocked(std::u16string_view printer) {
    return const_cast<Entry*>(static_cast<const PrinterRecordTable*>(this)->FindLocked(printer));
}

PrinterRecordTable::Entry& PrinterRecordTable::AddLocked(std::list<Entry>& made, std::list<Entry>& dropped) {
    entries_.splice(entries_.begin(), made);
    Used(entries_.front());  // the newest entry is not the one to make room
    if (entries_.size() > capacity_) {
        const auto oldest = std::min_element(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
            return a.lastUse.load(std::memory_order_relaxed) < b.lastUse.load(std::memory_order_relaxed);
        });
        dropped.splice(dropped.end(), entries_, oldest);
    }
    return entries_.front();
}

PrinterRecords PrinterRecordTable::Read(std::u16string_view printer) const {
    printer = UpToFirstZero(printer);
    if (printer.empty()) return PrinterRecords{};
    const StripedSharedHold hold(lock_);
    const Entry* entry = FindLocked(printer);
    return entry ? MarkRead(*entry).records : PrinterRecords{};
}

HeldCopy PrinterRecordTable::CopyHeldSettings(std::u16string_view printer, void* privateBlock) const {
    HeldCopy held;
    printer = UpToFirstZero(printer);
    if (printer.empty()) return held;
    const StripedSharedHold hold(lock_);
    const Entry* entry = FindLocked(printer);
    if (!entry || !IsSettingsCacheValid(entry->records.settingsCache)) return held;
    const PrivateSettings& cache = MarkRead(*entry).records.settingsCache;
    std::memcpy(privateBlock, &cache, sizeof cache);
    held.copied = true;
    held.offline = cache.manualRibbon != 0;
    return held;
}

void PrinterRecordTable::RememberSpelling(std::u16string_view spelling, std::u16string_view name) {
    spelling = UpToFirstZero(spelling);
    name = UpToFirstZero(name);
    if (spelling.empty() || name.empty() || SameName(spelling, name)) return;
    {
        const StripedSharedHold hold(lock_);
        for (const Spelling& known : spellings_)
            if (SameName(known.spelling, spelling) && SameName(known.name, name)) return;
    }
    std::list<Spelling> made, dropped;
    made.push_back(Spelling{std::u16string(spelling), std::u16string(name)});
    const StripedHold hold(lock_);
    for (auto known = spellings_.begin(); known != spellings_.end();) {
        const auto next = std::next(known);
        if (SameName(known->spelling, spelling)) dropped.splice(dropped.end(), spellings_, known);
        known = next;
    }
    spellings_.splice(spellings_.begin(), made);
    // A process sees few spellings of each printer: four for each entry the table holds.
    if (spellings_.size() > 4 * capacity_) dropped.splice(dropped.end(), spellings_, std::prev(spellings_.end()));
}

void PrinterRecordTable::Forget(std::u16string_view printer) {
    printer = UpToFirstZero(printer);
    if (printer.empty()) return;
    std::list<Entry> droppedEntries;
    std::list<Spelling> droppedSpellings;
    const StripedHold hold(lock_);
    // The printer's own name: the name itself, or the name a spelling of it stands for.
    std::u16string_view name = printer;
    for (const Spelling& known : spellings_)
        if (SameName(known.spelling, printer)) {
            name = known.name;
            break;
        }
    for (auto entry = entries_.begin(); entry != entries_.end();) {
        const auto next = std::next(entry);
        if (SameName(entry->name, name) || SameName(entry->name, printer))
            droppedEntries.splice(droppedEntries.end(), entries_, entry);
        entry = next;
    }
    // `name` may point into a spelling about to move; the moved node keeps its string.
    for (auto known = spellings_.begin(); known != spellings_.end();) {
        const auto next = std::next(known);
        if (SameName(known->name, name) || SameName(known->name, printer) || SameName(known->spelling, printer))
            droppedSpellings.splice(droppedSpellings.end(), spellings_, known);
        known = next;
    }
}

size_t PrinterRecordTable::Size() const {
    const StripedSharedHold hold(lock_);
    return entries_.size();
}

void PrinterRecordTable::Clear() {
    std::list<Entry> droppedEntries;
    std::list<Spelling> droppedSpellings;
    const StripedHold hold(lock_);
    droppedEntries.splice(droppedEntries.end(), entries_);
    droppedSpellings.splice(droppedSpellings.end(), spellings_);
}

}  // namespace qf
