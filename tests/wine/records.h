// Settings records for the tests: records of this driver built from the installation's
// defaults block, field access by name, and blocks that end at an unreadable page so
// that a read past a record's end stops the test.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "driver/platform/ddk.h"
#include "driver/settings/private_settings.h"
#include "driver/settings/record_sizes.h"

using Record = std::vector<uint8_t>;

// The defaults block as the build generated it (the simulated printers' data file).
Record DefaultsBlock();

// A 4068-byte record of this driver: a plain public part (landscape, one copy) and the
// defaults block.
Record DriverRecord();

// The driver default record: the driver's default public part and the defaults block,
// both-sides printing on.
Record DriverDefaultRecord();

// Where the ribbon list lies: in the driver directory's version-2 folder (an older
// installation), beside the driver file (a current one), in both or in neither. Each list
// names ribbon 2 after its folder; `name` is the name the driver should find (nullptr:
// none, the caller's fallback).
struct RibbonListPlacement {
    const char* where;
    bool inOlder;
    bool inBeside;
    const wchar_t* name;
};
extern const RibbonListPlacement kRibbonListPlacements[4];
// Lays the simulated driver directory's ribbon lists out as `placement` says.
void PlaceRibbonLists(const RibbonListPlacement& placement);

inline DEVMODEW* Devmode(Record& record) { return reinterpret_cast<DEVMODEW*>(record.data()); }

// The header the spooler hands a document sheet (DrvDocumentPropertySheets) of printer
// `name` opened as `printer`, prompting the user: the input record `in` (none when null)
// and the output record `out`, a whole record.
inline DOCUMENTPROPERTYHEADER PreferencesHeader(HANDLE printer, const wchar_t* name, Record& out,
                                                Record* in = nullptr) {
    DOCUMENTPROPERTYHEADER header = {};
    header.cbSize = sizeof header;
    header.hPrinter = printer;
    header.pszPrinterName = const_cast<LPWSTR>(name);
    header.pdmIn = in ? Devmode(*in) : nullptr;
    header.pdmOut = Devmode(out);
    header.cbOut = qf::kRecordSize;
    header.fMode = DM_IN_BUFFER | DM_OUT_BUFFER | DM_IN_PROMPT;
    return header;
}
// A record shorter than the driver's (a store that carried none) is first zero-filled to
// the driver's size, so that a check of it fails instead of reading past its end.
inline qf::PrivateSettings& Private(Record& record) {
    if (record.size() < size_t(qf::kRecordSize)) record.resize(qf::kRecordSize, 0);
    return *reinterpret_cast<qf::PrivateSettings*>(record.data() + qf::kPublicSize);
}

// `size` bytes whose last byte is followed by a page that cannot be read.
class GuardedBlock {
public:
    explicit GuardedBlock(size_t size);
    ~GuardedBlock();
    GuardedBlock(const GuardedBlock&) = delete;
    GuardedBlock& operator=(const GuardedBlock&) = delete;
    uint8_t* data() { return data_; }
    DEVMODEW* devmode() { return reinterpret_cast<DEVMODEW*>(data_); }

private:
    uint8_t* base_ = nullptr;
    uint8_t* data_ = nullptr;
};
