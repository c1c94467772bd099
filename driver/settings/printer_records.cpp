// The per-printer table.
#include "driver/settings/printer_records.h"

#include <algorithm>

namespace qf {

PrinterRecordTable::PrinterRecordTable(size_t capacity) : capacity_(std::max<size_t>(capacity, 1)) {}

std::string PrinterRecordTable::Key(std::u16string_view printer) {
    // The name ends at its first zero, as a wide string the spooler hands over does.
    const size_t end = printer.find(u'\0');
    if (end != std::u16string_view::npos) printer = printer.substr(0, end);
    std::string key;
    key.reserve(printer.size() * 2);
    for (char16_t unit : printer) {
        if (unit >= u'a' && unit <= u'z') unit = static_cast<char16_t>(unit - u'a' + u'A');
        key += static_cast<char>(unit & 0xFF);
        key += static_cast<char>(unit >> 8);
    }
    return key;
}

PrinterRecords& PrinterRecordTable::EntryLocked(const std::string& key) {
    const auto found =
        std::find_if(entries_.begin(), entries_.end(), [&key](const auto& entry) { return entry.first == key; });
    if (found != entries_.end()) {
        entries_.splice(entries_.begin(), entries_, found);
        return entries_.front().second;
    }
    // The new entry is made before an old one is dropped: a failed allocation leaves the
    // table as it was.
    entries_.emplace_front(key, PrinterRecords{});
    if (entries_.size() > capacity_) entries_.pop_back();
    return entries_.front().second;
}

PrinterRecords PrinterRecordTable::Read(std::u16string_view printer) const {
    const std::string key = Key(printer);
    const std::lock_guard<std::mutex> hold(lock_);
    for (const auto& entry : entries_)
        if (entry.first == key) return entry.second;
    return PrinterRecords{};
}

size_t PrinterRecordTable::Size() const {
    const std::lock_guard<std::mutex> hold(lock_);
    return entries_.size();
}

void PrinterRecordTable::Clear() {
    const std::lock_guard<std::mutex> hold(lock_);
    entries_.clear();
}

}  // namespace qf
