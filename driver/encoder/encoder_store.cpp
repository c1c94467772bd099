// Defaults block, encoder jobs and the stored encoder record.
#include "driver/encoder/encoder_store.h"

#include <winspool.h>

#include <cstdlib>
#include <cstring>
#include <optional>

#include "driver/channel/channel.h"
#include "driver/encoder/encoder_jobs.h"
#include "driver/entry/printer_info.h"
#include "driver/settings/record_sizes.h"

namespace {

const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

void SendJob(const wchar_t* printerName, const char16_t* documentName, const std::vector<std::string>& blocks) {
    if (!printerName || !printerName[0]) return;
    SendRawJob(printerName, Wide(documentName), blocks, StartFailure::kAbandon);
}

}  // namespace

bool ReadDefaultsBlock(HANDLE printer, uint8_t* block) {
    DRIVER_INFO_2W* driver = qf::ReadDriverInfo(printer);
    bool read = false;
    if (driver && driver->pDataFile) {
        HANDLE file = CreateFileW(driver->pDataFile, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            LARGE_INTEGER size = {};
            DWORD got = 0;
            read = GetFileSizeEx(file, &size) && qf::IsDefaultsBlockSize(static_cast<uint64_t>(size.QuadPart)) &&
                   ReadFile(file, block, qf::kPrivateSize, &got, nullptr) && got == DWORD(qf::kPrivateSize);
            CloseHandle(file);
        }
    }
    qf::FreePrinterRecord(driver);
    return read;
}

void RestoreEncoderDefaults(HANDLE printer, qf::EncoderPart part, qf::EncoderSettings& target) {
    uint8_t* block = static_cast<uint8_t*>(std::calloc(1, qf::kPrivateSize));
    const bool read = block && ReadDefaultsBlock(printer, block);
    qf::RestoreEncoderDefaults(part, read ? block : nullptr, target);
    std::free(block);
}

void SendEncoderSetup(const wchar_t* printerName, const qf::EncoderSettings& settings) {
    SendJob(printerName, qf::kEncoderJobName, qf::EncoderSetupJob(settings));
}

void SendTrackSetup(const wchar_t* printerName, const qf::EncoderSettings& settings) {
    SendJob(printerName, qf::kEncoderJobName, qf::TrackSetupJob(settings));
}

void SendSingleFeed(const wchar_t* printerName, uint8_t choice) {
    SendJob(printerName, qf::kSingleFeedJobName, qf::SingleFeedJob(choice));
}

bool StoreEncoderRecord(HANDLE reader, HANDLE writer, const qf::EncoderSettings& settings, const char* trace) {
    DWORD size = 0;
    if (GetPrinterW(reader, 2, nullptr, 0, &size) || GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0)
        return false;
    BYTE* buffer = static_cast<BYTE*>(std::calloc(1, size));
    if (!buffer) return false;
    bool stored = false;
    DWORD used = 0;
    if (GetPrinterW(reader, 2, buffer, size, &used)) {
        const auto* record = reinterpret_cast<const BYTE*>(reinterpret_cast<PRINTER_INFO_2W*>(buffer)->pDevMode);
        // The stored record is trusted only inside the bytes the spooler returned.
        const std::optional<size_t> offset =
            record >= buffer && record < buffer + size
                ? qf::StoredEncoderOffset(buffer, size, static_cast<size_t>(record - buffer))
                : std::nullopt;
        if (offset) {
            std::memcpy(buffer + *offset, &settings, sizeof settings);
            if (trace) OutputDebugStringA(trace);
            stored = SetPrinterW(writer, 2, buffer, 0) != FALSE;
        }
    }
    std::free(buffer);
    return stored;
}

void SaveEncoderSettings(const wchar_t* printerName, const qf::EncoderSettings& settings) {
    if (!printerName || !printerName[0]) return;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(printerName), &printer, &defaults)) return;
    StoreEncoderRecord(printer, printer, settings, "$$$$$$$$$$$$$ SetPrinter called 3\n");
    ClosePrinter(printer);
}
