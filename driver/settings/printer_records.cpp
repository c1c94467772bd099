// The per-printer table.
#include "driver/settings/printer_records.h"

#include <algorithm>

namespace qf {
namespace {

char16_t UpperCaseLetter(char16_t unit) { return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - u'a' + u'A') : unit; }

}  // namespace

PrinterRecordTable::PrinterRecordTable(size_t capacity) : capacity_(std::max<size_t>(capacity, 1)) {}

std::u16string_view PrinterRecordTable::UpToFirstZero(std::u16string_view printer) {
    const size_t end = printer.find(u'\0');
    return end == std::u16string_view::npos ? printer : printer.substr(0, end);
}

bool PrinterRecordTable::SameName(const std::u16string& kept, std::u16string_view printer) {
    if (kept.size() != printer.size()) return false;
    for (size_t i = 0; i < kept.size(); ++i)
        if (UpperCaseLetter(kept[i]) != UpperCaseLetter(printer[i])) return false;
    return true;
}

PrinterRecords* PrinterRecordTable::FindLocked(std::u16string_view printer) {
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [printer](const auto& entry) { return SameName(entry.first, printer); });
    if (found == entries_.end()) return nullptr;
    entries_.splice(entries_.begin(), entries_, found);
    return &entries_.front().second;
}

PrinterRecords& PrinterRecordTable::AddLocked(std::u16string_view printer) {
    // The new entry is made before an old one is dropped: a failed allocation leaves the
    // table as it was.
    entries_.emplace_front(std::u16string(printer), PrinterRecords{});
    if (entries_.size() > capacity_) entries_.pop_back();
    return entries_.front().second;
}

PrinterRecords PrinterRecordTable::Read(std::u16string_view printer) {
    printer = UpToFirstZero(printer);
    const TableHold hold(lock_);
    const PrinterRecords* entry = printer.empty() ? nullptr : FindLocked(printer);
    return entry ? *entry : PrinterRecords{};
}

size_t PrinterRecordTable::Size() const {
    const TableHold hold(lock_);
    return entries_.size();
}

void PrinterRecordTable::Clear() {
    const TableHold hold(lock_);
    entries_.clear();
}

}  // namespace qf
