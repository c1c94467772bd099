// The live-sheet table.
#include "driver/state/live_sheets.h"

namespace qf {

uint32_t LiveSheets::Add(int kind, void* sheet) {
    const TableHold hold(lock_);
    uint32_t id;
    do {
        id = ++last_;
    } while (id == 0 || live_.count(id) != 0);
    live_.emplace(id, Entry{kind, sheet});
    return id;
}

void LiveSheets::Remove(uint32_t id) {
    const TableHold hold(lock_);
    live_.erase(id);
}

void* LiveSheets::Find(uint32_t id, int kind) const {
    const SharedTableHold hold(lock_);
    const auto found = live_.find(id);
    return found != live_.end() && found->second.kind == kind ? found->second.sheet : nullptr;
}

size_t LiveSheets::Size() const {
    const SharedTableHold hold(lock_);
    return live_.size();
}

}  // namespace qf
