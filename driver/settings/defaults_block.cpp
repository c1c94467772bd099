// Reading the defaults block from the driver's data file.
#include "driver/settings/defaults_block.h"

#include <winspool.h>

#include <cstring>

#include "driver/entry/printer_info.h"

namespace {

bool ReadExactly(const wchar_t* path, uint8_t* block) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size = {};
    DWORD read = 0;
    const bool ok = GetFileSizeEx(file, &size) && size.QuadPart == qf::kPrivateSize &&
                    ReadFile(file, block, qf::kPrivateSize, &read, nullptr) && read == DWORD(qf::kPrivateSize);
    CloseHandle(file);
    return ok;
}

}  // namespace

bool ReadDefaultsBlock(HANDLE printer, uint8_t* block) {
    if (!block) return false;
    std::memset(block, 0, qf::kPrivateSize);
    if (!printer) return false;
    DRIVER_INFO_2W* driver = qf::ReadDriverInfo(printer);
    const bool ok = driver && driver->pDataFile && ReadExactly(driver->pDataFile, block);
    qf::FreePrinterRecord(driver);
    if (!ok) std::memset(block, 0, qf::kPrivateSize);
    return ok;
}
