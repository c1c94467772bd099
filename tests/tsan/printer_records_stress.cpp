// Many threads on the per-printer table and the live-sheet table at once, as a process
// that serves several printers calls the module: every record read back is whole and
// belongs to its own printer. Built with ThreadSanitizer, which reports any access that
// the tables' lock does not order.
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "driver/settings/printer_records.h"
#include "driver/state/live_sheets.h"

namespace {

constexpr int kThreads = 8;
constexpr int kRounds = 4000;
constexpr int kPrinters = 3;

const std::u16string kNames[kPrinters] = {u"Card Printer A", u"card printer b", u"Card Printer C"};
const std::u16string kSpellings[kPrinters] = {u"\\\\HOST\\Card Printer A", u"SHARE B", u"\\\\HOST\\share c"};

// A block that says whose it is in every field the threads write.
qf::PrivateSettings BlockOf(int printer, int round) {
    qf::PrivateSettings settings{};
    settings.signature = qf::kSettingsSignature;
    settings.ribbonType = static_cast<uint8_t>(printer);
    settings.rotate180 = static_cast<int16_t>(printer);
    std::memset(settings.thirdTrackText, 'A' + printer, sizeof settings.thirdTrackText - 1);
    settings.printModeIndex = static_cast<int16_t>(round & 0x7FFF);
    return settings;
}

bool Whole(const qf::PrivateSettings& settings, int printer) {
    if (settings.signature != qf::kSettingsSignature) return true;  // not yet committed
    if (settings.ribbonType != printer || settings.rotate180 != printer) return false;
    for (size_t i = 0; i + 1 < sizeof settings.thirdTrackText; ++i)
        if (settings.thirdTrackText[i] != 'A' + printer) return false;
    return true;
}

}  // namespace

int main() {
    qf::PrinterRecordTable table(2);  // smaller than the printers: entries come and go
    qf::LiveSheets sheets;
    std::atomic<int> faults{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            int own = t;
            for (int round = 0; round < kRounds; ++round) {
                const int printer = (t + round) % kPrinters;
                const qf::PrivateSettings mine = BlockOf(printer, round);
                table.Update(kNames[printer], [&](qf::PrinterRecords& entry) {
                    if (!Whole(entry.settingsCache, printer)) faults++;
                    entry.settingsCache = mine;
                    entry.singleFeedChoice = static_cast<uint8_t>(round & 1);
                });
                if (!Whole(table.Read(kNames[(printer + 1) % kPrinters]).settingsCache, (printer + 1) % kPrinters))
                    faults++;
                // The held-record path by another spelling of a printer, while spellings are
                // remembered and printers forgotten on other threads.
                const int other = (printer + 2) % kPrinters;
                qf::PrivateSettings held{};
                if (table.CopyHeldSettings(kSpellings[other], &held).copied && !Whole(held, other)) faults++;
                if (round % 64 == 0) table.RememberSpelling(kSpellings[other], kNames[other]);
                if (round % 997 == 0) table.Forget(kSpellings[other]);
                const uint32_t id = sheets.Add(1 + (round & 1), &own);
                if (sheets.Find(id, 1 + (round & 1)) != &own) faults++;
                sheets.Remove(id);
                if (sheets.Find(id, 1 + (round & 1)) != nullptr) faults++;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    const bool clean = faults == 0 && sheets.Size() == 0 && table.Size() <= 2;
    std::printf("%d threads x %d rounds on %d printers: %d torn or foreign records, %zu sheets left\n", kThreads,
                kRounds, kPrinters, faults.load(), sheets.Size());
    std::printf("%d passed, %d failed\n", clean ? 1 : 0, clean ? 0 : 1);
    return clean ? 0 : 1;
}
