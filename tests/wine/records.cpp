// Test records.
#include "tests/wine/records.h"

#include <string>

#include "driver/settings/public_devmode.h"
#include "sim/driver_loader.h"
#include "sim/files.h"
#include "sim/spooler.h"

Record DefaultsBlock() { return sim::ReadWholeFile(sim::ProgramDirectory() + L"qf862k.dat"); }

Record DriverRecord() {
    Record record(qf::kRecordSize, 0);
    DEVMODEW* dm = Devmode(record);
    lstrcpyW(dm->dmDeviceName, L"Card Printer");
    dm->dmSpecVersion = qf::kSpecVersion;
    dm->dmDriverVersion = 1;
    dm->dmSize = qf::kPublicSize;
    dm->dmDriverExtra = qf::kPrivateSize;
    dm->dmFields = DM_ORIENTATION | DM_COPIES | DM_PAPERSIZE;
    dm->dmOrientation = DMORIENT_LANDSCAPE;
    dm->dmPaperSize = 258;
    dm->dmPaperLength = 541;
    dm->dmPaperWidth = 866;
    dm->dmCopies = 1;
    const Record block = DefaultsBlock();
    if (block.size() == size_t(qf::kPrivateSize)) std::memcpy(&Private(record), block.data(), block.size());
    return record;
}

Record DriverDefaultRecord() {
    Record record(qf::kRecordSize, 0);
    // The names every record of the driver carries, in every language.
    const qf::PublicDevmode defaults = qf::DriverDefaultPublicPart({u"Varlo Halvard Line Printer", u"86mmx54mm Card"});
    std::memcpy(record.data(), &defaults, qf::kPublicSize);
    const Record block = DefaultsBlock();
    if (block.size() == size_t(qf::kPrivateSize)) std::memcpy(&Private(record), block.data(), block.size());
    Private(record).printBothSides = 1;
    return record;
}

GuardedBlock::GuardedBlock(size_t size) {
    const size_t page = 4096;
    const size_t pages = (size + page - 1) / page;
    base_ = static_cast<uint8_t*>(VirtualAlloc(nullptr, (pages + 1) * page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    DWORD old = 0;
    VirtualProtect(base_ + pages * page, page, PAGE_NOACCESS, &old);
    data_ = base_ + pages * page - size;
}

GuardedBlock::~GuardedBlock() { VirtualFree(base_, 0, MEM_RELEASE); }

const RibbonListPlacement kRibbonListPlacements[4] = {
    {"version-2 folder only", true, false, L"Older name"},
    {"beside the driver only", false, true, L"Driver's own name"},
    {"both", true, true, L"Driver's own name"},
    {"neither", false, false, nullptr},
};

void PlaceRibbonLists(const RibbonListPlacement& placement) {
    const std::wstring older = sim::Spooler::Get().DriverFile(L"qf862rib.ini");
    const std::wstring beside = sim::Spooler::Get().DriverFolderFile(L"qf862rib.ini");
    DeleteFileW(older.c_str());
    DeleteFileW(beside.c_str());
    if (placement.inOlder) WritePrivateProfileStringW(L"Ribbon Type", L"2", L"Older name", older.c_str());
    if (placement.inBeside) WritePrivateProfileStringW(L"Ribbon Type", L"2", L"Driver's own name", beside.c_str());
}
